#include "Commands.h"
#include "Doctor.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace tensiq::cli {

nlohmann::ordered_json PortJson(const PortInfo& port);

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
            nlohmann::ordered_json findings = nlohmann::ordered_json::array();
            for (const Finding& f : report.findings)
                findings.push_back({{"check", f.check}, {"problem", f.problem}, {"fix", f.fix}});
            nlohmann::ordered_json portList = nlohmann::ordered_json::array();
            for (const PortInfo& port : ports)
                portList.push_back(PortJson(port));
            const nlohmann::ordered_json out = {{"user", user.name},
                                                {"ok", report.findings.empty()},
                                                {"checked", report.checked},
                                                {"findings", findings},
                                                {"ports", portList}};
            std::cout << out.dump(2) << "\n";
        } else if (report.findings.empty()) {
            std::cout << "No problem found: " << ports.size() << " serial port"
                      << (ports.size() == 1 ? "" : "s") << ", user " << user.name
                      << " may use them, nothing in the way.\n";
        } else {
            for (const Finding& f : report.findings)
                std::cout << "Problem: " << f.problem << "\n    Fix: " << f.fix << "\n\n";
        }
        tool.status = report.findings.empty() ? kExitOk : kExitFindings;
    });
}

} // namespace tensiq::cli
