#include "Commands.h"
#include "PortSurvey.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace tensiq::cli {

namespace {

nlohmann::ordered_json TextOrNull(const std::string& text) {
    return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text);
}

std::string YesNo(const std::optional<bool>& value) {
    return !value ? "unknown" : *value ? "yes" : "no";
}

} // namespace

nlohmann::ordered_json PortJson(const PortInfo& port) {
    nlohmann::ordered_json holders = nlohmann::ordered_json::array();
    for (const PortHolder& h : port.holders)
        holders.push_back({{"pid", h.pid}, {"program", TextOrNull(h.program)}});
    return {{"com", port.number},
            {"path", port.path},
            {"byId", TextOrNull(port.byId)},
            {"maker", TextOrNull(port.maker)},
            {"model", TextOrNull(port.model)},
            {"serial", TextOrNull(port.serial)},
            {"usbId", TextOrNull(port.usbId)},
            {"mayOpen", port.mayOpen},
            {"held", port.held ? nlohmann::ordered_json(*port.held) : nlohmann::ordered_json()},
            {"heldBy", holders},
            {"lowLatency", port.lowLatency
                               ? nlohmann::ordered_json(LowLatencyText(*port.lowLatency))
                               : nlohmann::ordered_json()},
            {"openError", TextOrNull(port.openError)}};
}

void PrintPort(std::ostream& out, const PortInfo& port) {
    out << "COM" << port.number << "  " << port.path << "\n";
    if (!port.byId.empty())
        out << "    by-id:    " << port.byId << "\n";
    if (!port.usbId.empty()) {
        out << "    adapter:  " << (port.maker.empty() ? "?" : port.maker) << ", "
            << (port.model.empty() ? "?" : port.model);
        if (!port.serial.empty())
            out << ", serial number " << port.serial;
        out << " (USB " << port.usbId << ")\n";
    }
    out << "    may open: " << (port.mayOpen ? "yes" : "no") << "\n";
    out << "    held:     " << YesNo(port.held);
    for (const PortHolder& h : port.holders)
        out << (&h == &port.holders.front() ? " by " : ", ")
            << (h.program.empty() ? "a program" : h.program) << " (pid " << h.pid << ")";
    if (!port.held && !port.openError.empty())
        out << " (cannot open: " << port.openError << ")";
    out << "\n";
    if (port.lowLatency)
        out << "    low latency: " << LowLatencyText(*port.lowLatency) << "\n";
}

void AddPortsCommand(CLI::App& app, Tool& tool) {
    auto* cmd = app.add_subcommand(
        "ports", "List the ports a discovery would probe that exist: COM number, device, "
                 "adapter, whether this user may open it and whether another program holds it");
    auto json = std::make_shared<bool>(false);
    cmd->add_flag("--json", *json, "print JSON");
    cmd->callback([&tool, json] {
        const auto ports = SurveyPorts(SystemRoot::FromEnvironment());
        if (*json) {
            nlohmann::ordered_json list = nlohmann::ordered_json::array();
            for (const PortInfo& port : ports)
                list.push_back(PortJson(port));
            std::cout << nlohmann::ordered_json{{"ports", list}}.dump(2) << "\n";
        } else if (ports.empty()) {
            std::cout << "No serial port found (\"tensiq-cli doctor\" tells why).\n";
        } else {
            for (const PortInfo& port : ports)
                PrintPort(std::cout, port);
        }
        tool.status = kExitOk;
    });
}

} // namespace tensiq::cli
