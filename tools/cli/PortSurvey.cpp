#include "PortSurvey.h"

#include "PortHolders.h"
#include "PortName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

namespace tensiq::cli {

namespace fs = std::filesystem;

namespace {

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// The USB device above the tty in sysfs holds the adapter's maker, model and serial number.
void ReadAdapter(const SystemRoot& system, const std::string& name, PortInfo& port) {
    std::error_code error;
    const fs::path top = fs::weakly_canonical(system.Under("/sys"), error);
    fs::path dir = fs::canonical(system.Under("/sys/class/tty/" + name + "/device"), error);
    if (error)
        return;
    for (; dir != top && dir.has_relative_path(); dir = dir.parent_path()) {
        if (!fs::exists(dir / "idVendor", error))
            continue;
        port.maker = FirstLine(dir / "manufacturer");
        port.model = FirstLine(dir / "product");
        port.serial = FirstLine(dir / "serial");
        port.usbId = FirstLine(dir / "idVendor") + ":" + FirstLine(dir / "idProduct");
        return;
    }
}

} // namespace

std::vector<PortInfo> SurveyPorts(const SystemRoot& system) {
    const char* portDir = std::getenv("TENSIQ_PORT_DIR");
    const bool inPortDir = portDir != nullptr && *portDir != '\0';

    std::vector<std::pair<dev_t, std::string>> byId;
    for (const std::string& name : system.List("/dev/serial/by-id")) {
        struct stat st {};
        if (::stat(system.Under("/dev/serial/by-id/" + name).c_str(), &st) == 0 &&
            S_ISCHR(st.st_mode))
            byId.emplace_back(st.st_rdev, name);
    }

    std::vector<PortInfo> ports;
    for (int n = 1; n <= 255; ++n) {
        std::string path = PortDeviceName(n);
        if (!inPortDir)
            path = system.Under(path);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode))
            continue;
        const std::string name = path.substr(path.rfind('/') + 1);
        if (!inPortDir && name.starts_with("ttyS") &&
            system.ReadLine("/sys/class/tty/" + name + "/type").value_or("") == "0")
            continue;
        PortInfo port;
        port.number = n;
        port.path = path;
        port.groupId = st.st_gid;
        // Unix98 pseudo-terminal slaves: what the simulator hands out, owned by their creator.
        port.pseudoTerminal = ::major(st.st_rdev) >= 136 && ::major(st.st_rdev) <= 143;
        for (const auto& [device, link] : byId)
            if (device == st.st_rdev)
                port.byId = link;
        if (!inPortDir)
            ReadAdapter(system, name, port);
        port.mayOpen = ::faccessat(AT_FDCWD, path.c_str(), R_OK | W_OK, AT_EACCESS) == 0;
        FindHolders(system, port);
        ports.push_back(std::move(port));
    }
    return ports;
}

} // namespace tensiq::cli
