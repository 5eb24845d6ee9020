#pragma once
// Running a tool as an ordinary user: root passes permission checks and TIOCEXCL, so cases
// about those are run as nobody when the tests run as root.
#include <climits>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tensiq::test {

inline constexpr uid_t kNobody = 65534;

// The prefix that runs a command line as an ordinary user; empty when the tests already run
// as one.
inline std::string AsOrdinaryUser() {
    if (::geteuid() != 0)
        return {};
    return "setpriv --reuid=" + std::to_string(kNobody) + " --regid=" + std::to_string(kNobody) +
           " --clear-groups ";
}

// Lets the ordinary user reach a folder (and write into it when writable is set).
inline void ShareFolder(const std::string& path, bool writable = false) {
    ::chmod(path.c_str(), writable ? 0777 : 0755);
}

// Lets the ordinary user open a simulated port, as membership of dialout would.
inline void SharePort(const std::string& linkPath) {
    char target[PATH_MAX];
    if (::realpath(linkPath.c_str(), target) != nullptr)
        ::chmod(target, 0666);
}

} // namespace tensiq::test
