#include "CommandJson.h"
#include "Commands.h"
#include "TerminalText.h"

#include <cmath>
#include <iostream>

namespace tensiq::cli {

namespace {

int RunVersion(Tool& tool, bool json) {
    DeviceLink link(tool.profile);
    if (!OpenLink(link, tool.port, std::cerr))
        return kExitNoDevice;
    link.QueryVersion();
    link.Close();
    const std::string& reply = link.VersionReply();
    if (reply.empty()) {
        std::cerr << "The device did not answer the identification request.\n";
        return kExitNoDevice;
    }
    // Two decimals, as the device states its version; a float would print 1.0800000429.
    const double version = std::round(static_cast<double>(link.FirmwareVersion()) * 100.0) / 100.0;
    if (json) {
        std::cout << JsonText(VersionJson(reply, version)) << "\n";
    } else {
        std::cout << "Identification: " << PrintableText(reply) << "\n"
                  << "Firmware version: " << version << "\n";
    }
    return kExitOk;
}

} // namespace

void AddVersionCommand(CLI::App& app, Tool& tool) {
    auto* cmd = app.add_subcommand("version", "ask the device for its identification");
    auto json = std::make_shared<bool>(false);
    cmd->add_flag("--json", *json, "print one JSON object");
    cmd->callback([&tool, json] { tool.status = RunVersion(tool, *json); });
}

} // namespace tensiq::cli
