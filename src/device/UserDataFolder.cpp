#include "UserDataFolder.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace tensiq {

namespace {

bool MakeFolder(const std::string& path, mode_t mode) {
    if (::mkdir(path.c_str(), mode) == 0 || errno == EEXIST) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    return false;
}

// mkdir -p for the parents; only the last element gets the private mode.
bool MakeFolders(const std::string& path, mode_t mode) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        if (!MakeFolder(path.substr(0, slash), 0755))
            return false;
    return MakeFolder(path, mode);
}

} // namespace

std::string UserDataFolder() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        base = std::string(home) + "/.local/share";
    else
        return {};
    const std::string folder = base + "/Tensiq";
    return MakeFolders(folder, 0700) ? folder : std::string{};
}

std::string UserDataFile(const std::string& name) {
    const std::string folder = UserDataFolder();
    return folder.empty() ? std::string{} : folder + "/" + name;
}

} // namespace tensiq
