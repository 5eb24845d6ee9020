#pragma once
#include "CliPort.h"

#include <CLI/CLI.hpp>

namespace tensiq {
class Profile;
}

namespace tensiq::cli {

// Each command adds itself to the tool; running it returns the exit status.
struct Tool {
    PortChoice port;
    Profile* profile = nullptr;
    int status = kExitOk;
};

void AddDiscoverCommand(CLI::App& app, Tool& tool);
void AddVersionCommand(CLI::App& app, Tool& tool);
void AddParamsCommand(CLI::App& app, Tool& tool);
void AddImageCommand(CLI::App& app, Tool& tool);
void AddRecordCommand(CLI::App& app, Tool& tool);
void AddPortsCommand(CLI::App& app, Tool& tool);
void AddDoctorCommand(CLI::App& app, Tool& tool);
void AddReportCommand(CLI::App& app, Tool& tool);
void AddStatsCommand(CLI::App& app, Tool& tool);

} // namespace tensiq::cli
