// How long finding the device takes against the simulator: six silent ports before the device,
// and 255 silent ports with no device at all. Beside DiscoverPort, the ascending scan that probes
// one port after another (the 255-port case of that one only with --sequential-255: over 2 min).
#include "DeviceLink.h"
#include "Profile.h"
#include "Simulator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace tensiq;
using Clock = std::chrono::steady_clock;

namespace {

// Ports 1 to 255 in ascending order, one probe after another.
int ScanOneAfterAnother() {
    SerialPort probe;
    std::string reply;
    for (int port = 1; port <= 255; ++port) {
        if (!probe.Open(port, kLinkBaudRate))
            continue;
        const bool accepted = DeviceLink::Probe(probe, reply);
        probe.Close();
        if (accepted)
            return port;
    }
    return -1;
}

template <typename F> double Seconds(F f, int& result) {
    const auto start = Clock::now();
    result = f();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Case(const std::string& dir, int silent, bool device, bool sequential) {
    sim::Simulator sim(dir);
    for (int n = 1; n <= silent; ++n)
        sim.AddSilent(n);
    if (device)
        sim.AddDevice(silent + 1);
    sim.Start();
    ::setenv("TENSIQ_PORT_DIR", dir.c_str(), 1);
    MemoryProfile profile; // nothing remembered
    DeviceLink link(&profile);
    int found = 0;
    const double parallel = Seconds([&] { return link.DiscoverPort(-1); }, found);
    std::printf("%3d silent ports, %-9s  DiscoverPort: %6.2f s (port %d)", silent,
                device ? "device" : "no device", parallel, found);
    if (sequential) {
        const double one = Seconds(ScanOneAfterAnother, found);
        std::printf("   one after another: %6.2f s (port %d)", one, found);
    }
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    const bool sequential255 = argc > 1 && std::strcmp(argv[1], "--sequential-255") == 0;
    const std::string root = (std::filesystem::temp_directory_path() /
                              ("tensiq-discovery-bench-" + std::to_string(getpid())))
                                 .string();
    std::filesystem::create_directories(root);
    ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
    ::setenv("XDG_DATA_HOME", root.c_str(), 1);
    Case(root + "/six", 6, true, true);
    Case(root + "/all", 255, false, sequential255);
    std::filesystem::remove_all(root);
    return 0;
}
