#include "CommandJson.h"
#include "Commands.h"
#include "Doctor.h"
#include "TerminalText.h"

#include <iostream>
#include <memory>

namespace tensiq::cli {

void AddDoctorCommand(CLI::App& app, Tool& tool) {
    auto* cmd = app.add_subcommand(
        "doctor", "Check why this computer may not reach the device (group membership, modem "
                  "manager, braille service, missing or held ports), each finding with its fix");
    auto json = std::make_shared<bool>(false);
    cmd->add_flag("--json", *json, "print JSON");
    cmd->callback([&tool, json] {
        const SystemRoot system = SystemRoot::FromEnvironment();
        const UserIdentity user = UserIdentity::Current();
        const auto ports = SurveyPorts(system);
        const DoctorReport report = RunDoctor(system, ports, user);
        if (*json) {
            std::cout << JsonText(DoctorJson(user.name, report, ports), 2) << "\n";
        } else if (report.findings.empty()) {
            std::cout << "No problem found: " << ports.size() << " serial port"
                      << (ports.size() == 1 ? "" : "s") << ", user " << PrintableText(user.name)
                      << " may use them, nothing in the way.\n";
        } else {
            for (const Finding& f : report.findings)
                std::cout << "Problem: " << PrintableText(f.problem)
                          << "\n    Fix: " << PrintableText(f.fix) << "\n\n";
        }
        tool.status = report.findings.empty() ? kExitOk : kExitFindings;
    });
}

} // namespace tensiq::cli
