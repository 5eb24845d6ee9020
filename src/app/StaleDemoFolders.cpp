#include "StaleDemoFolders.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace tensiq {

namespace {

constexpr std::string_view kPrefix = "tensiq-demo-";

// The pid in "tensiq-demo-<pid>-XXXXXX", or 0 for any other name.
long OwnerOf(const std::string& name) {
    if (name.rfind(kPrefix, 0) != 0)
        return 0;
    const char* digits = name.c_str() + kPrefix.size();
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    return end != digits && *end == '-' && pid > 0 ? pid : 0;
}

bool ProcessGone(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

std::string DemoFolderTemplate(const std::string& tempFolder, long pid) {
    return tempFolder + "/" + std::string(kPrefix) + std::to_string(pid) + "-XXXXXX";
}

int RemoveStaleDemoFolders(const std::string& tempFolder) {
    int removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(tempFolder, error)) {
        const long pid = OwnerOf(entry.path().filename().string());
        struct stat info {};
        if (pid == 0 || pid == ::getpid() || ::lstat(entry.path().c_str(), &info) != 0 ||
            !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() || !ProcessGone(pid))
            continue;
        std::error_code ignored;
        if (std::filesystem::remove_all(entry.path(), ignored) > 0 && !ignored)
            ++removed;
    }
    return removed;
}

} // namespace tensiq
