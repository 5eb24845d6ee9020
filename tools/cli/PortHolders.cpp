#include "PortHolders.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tensiq::cli {

namespace {

void AddHolder(const SystemRoot& system, PortInfo& port, int pid) {
    if (pid <= 0 || pid == ::getpid())
        return;
    for (const PortHolder& h : port.holders)
        if (h.pid == pid)
            return;
    port.holders.push_back({pid, system.ProgramOf(pid)});
}

// flock holders: /proc/locks names the device by "major:minor:inode" of its file (hex, hex,
// decimal) and the holder by pid.
void FromLockTable(const SystemRoot& system, const struct stat& st, PortInfo& port) {
    char id[64];
    std::snprintf(id, sizeof id, "%02x:%02x:%llu", ::major(st.st_dev), ::minor(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    std::ifstream in(system.Under("/proc/locks"));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, file;
        int pid = 0;
        if (!(fields >> number >> kind))
            continue;
        if (kind == "->") // a waiter, not a holder
            continue;
        if (kind == "FLOCK" && fields >> mode >> access >> pid >> file && file == id)
            AddHolder(system, port, pid);
    }
}

// Programs that keep the port open without any lock, such as a modem manager. Without root only
// the user's own processes can be looked at.
void FromOpenFiles(const SystemRoot& system, const std::string& device, PortInfo& port) {
    for (int pid : system.Processes()) {
        const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
        for (const std::string& fd : system.List(fds)) {
            std::error_code error;
            const auto target = std::filesystem::read_symlink(system.Under(fds + "/" + fd), error);
            if (!error && target == device)
                AddHolder(system, port, pid);
        }
    }
}

// A UUCP lock file, as terminal programs leave it: the holder's pid as text.
void FromLockFiles(const SystemRoot& system, const std::string& name, PortInfo& port) {
    for (const char* folder : {"/run/lock/", "/var/lock/"}) {
        const auto text = system.ReadLine(folder + std::string("LCK..") + name);
        if (!text)
            continue;
        const int pid = std::atoi(text->c_str());
        if (pid > 0 && system.Exists("/proc/" + std::to_string(pid)))
            AddHolder(system, port, pid);
    }
}

} // namespace

void FindHolders(const SystemRoot& system, PortInfo& port) {
    struct stat st {};
    if (::stat(port.path.c_str(), &st) != 0)
        return;
    const int fd = ::open(port.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        port.openError = std::strerror(error);
        // The exclusive mode that the program holding the port has set.
        if (error == EBUSY)
            port.held = true;
    } else {
        port.held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        if (!*port.held) {
            // Asked the way the program's own open asks, and left as it was found.
            bool changed = false;
            port.lowLatency = EnableLowLatency(fd, changed);
            RestoreLowLatency(fd, changed);
        }
        ::close(fd);
    }
    std::error_code error;
    const auto device = std::filesystem::canonical(port.path, error);
    FromLockTable(system, st, port);
    if (!error)
        FromOpenFiles(system, device, port);
    FromLockFiles(system, port.path.substr(port.path.rfind('/') + 1), port);
    if (!port.holders.empty())
        port.held = true;
}

} // namespace tensiq::cli
