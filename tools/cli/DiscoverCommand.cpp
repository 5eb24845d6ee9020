#include "CommandJson.h"
#include "Commands.h"
#include "PortName.h"
#include "TerminalText.h"

#include <iostream>

namespace tensiq::cli {

namespace {

int RunDiscover(Tool& tool, bool json) {
    DeviceLink link(tool.profile);
    int port = -1;
    std::string path, identification;
    if (tool.port.given.empty()) {
        port = link.DiscoverPort(-1);
        if (port != -1) {
            path = PortDeviceName(port);
            identification = link.DiscoveredIdentification();
        }
    } else {
        path = tool.port.DevicePath();
        SerialPort probe;
        if (path.empty() || !probe.OpenDevice(path, kLinkBaudRate)) {
            std::cerr << "Cannot open " << (path.empty() ? tool.port.given : path) << ": "
                      << (path.empty() ? "not a port number from 1 to 255"
                                       : probe.LastOpenErrorText())
                      << ".\n";
            return kExitNoDevice;
        }
        if (DeviceLink::Probe(probe, identification)) {
            port = tool.port.IsNumber() ? tool.port.Number() : 0;
            DeviceLink::ApplyReplyLetters(identification);
        } else {
            identification.clear();
        }
    }
    if (identification.empty()) {
        if (tool.port.given.empty())
            std::cerr << NoDeviceAnywhereText(link.BusyPorts());
        else
            std::cerr << "No device answers at " << path << ".\n";
        return kExitNoDevice;
    }
    const bool variant = g_ropeDifferenceVariant != 0;
    if (json) {
        std::cout << JsonText(DiscoverJson(port, path, identification, variant)) << "\n";
    } else {
        if (port > 0)
            std::cout << "Device found at COM" << port << " (" << PrintableText(path) << ")\n";
        else
            std::cout << "Device found at " << PrintableText(path) << "\n";
        std::cout << "Identification: " << PrintableText(identification) << "\n";
        if (variant)
            std::cout << "Rope-difference variant\n";
    }
    return kExitOk;
}

} // namespace

void AddDiscoverCommand(CLI::App& app, Tool& tool) {
    auto* cmd = app.add_subcommand("discover", "find the device (or probe the --port given)");
    auto json = std::make_shared<bool>(false);
    cmd->add_flag("--json", *json, "print one JSON object");
    cmd->callback([&tool, json] { tool.status = RunDiscover(tool, *json); });
}

} // namespace tensiq::cli
