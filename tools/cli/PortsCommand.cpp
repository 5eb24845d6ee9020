#include "CommandJson.h"
#include "Commands.h"
#include "PortSurvey.h"
#include "TerminalText.h"

#include <iostream>
#include <memory>

namespace tensiq::cli {

namespace {

std::string YesNo(const std::optional<bool>& value) {
    return !value ? "unknown" : *value ? "yes" : "no";
}

} // namespace

void PrintPort(std::ostream& out, const PortInfo& port) {
    out << "COM" << port.number << "  " << PrintableText(port.path) << "\n";
    if (!port.byId.empty())
        out << "    by-id:    " << PrintableText(port.byId) << "\n";
    if (!port.usbId.empty()) {
        out << "    adapter:  " << (port.maker.empty() ? "?" : PrintableText(port.maker)) << ", "
            << (port.model.empty() ? "?" : PrintableText(port.model));
        if (!port.serial.empty())
            out << ", serial number " << PrintableText(port.serial);
        out << " (USB " << PrintableText(port.usbId) << ")\n";
    }
    out << "    may open: " << (port.mayOpen ? "yes" : "no") << "\n";
    out << "    held:     " << YesNo(port.held);
    for (const PortHolder& h : port.holders)
        out << (&h == &port.holders.front() ? " by " : ", ")
            << (h.program.empty() ? "a program" : PrintableText(h.program)) << " (pid " << h.pid
            << ")";
    if (!port.held && !port.openError.empty())
        out << " (cannot open: " << PrintableText(port.openError) << ")";
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
            std::cout << JsonText(PortsJson(ports), 2) << "\n";
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
