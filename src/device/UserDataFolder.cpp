#include "UserDataFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace tensiq {

namespace {

// errno says why when it fails; ENOTDIR for a file in the way.
bool MakeFolder(const std::string& path, mode_t mode) {
    if (::mkdir(path.c_str(), mode) == 0 || errno == EEXIST) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return false;
        if (S_ISDIR(st.st_mode))
            return true;
        errno = ENOTDIR;
    }
    return false;
}

// mkdir -p for the parents; only the last element gets the private mode. The element that
// failed is named in why.
bool MakeFolders(const std::string& path, mode_t mode, std::string& why) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!MakeFolder(part, slash == std::string::npos ? mode : 0755)) {
            why = part + ": " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos)
            return true;
    }
}

} // namespace

std::string UserDataFolder(std::string& why) {
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        base = std::string(home) + "/.local/share";
    else {
        why = "neither XDG_DATA_HOME nor HOME names a folder";
        return {};
    }
    const std::string folder = base + "/Tensiq";
    return MakeFolders(folder, 0700, why) ? folder : std::string{};
}

std::string UserDataFolder() {
    std::string why;
    return UserDataFolder(why);
}

std::string UserDataFile(const std::string& name) {
    const std::string folder = UserDataFolder();
    return folder.empty() ? std::string{} : folder + "/" + name;
}

std::string FreshUserDataFile(const std::string& name, std::string& why) {
    const std::string folder = UserDataFolder(why);
    if (folder.empty())
        return {};
    const std::string path = folder + "/" + name;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        why = path + ": " + std::strerror(errno);
        return {};
    }
    return path;
}

} // namespace tensiq
