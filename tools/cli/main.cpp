// tensiq-cli: the device link from the command line, for commissioning scripts and tests.
#include "Commands.h"
#include "SettingsProfile.h"
#include "Version.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>

namespace {

int RunTool(int argc, char** argv) {
    // A record that outgrows the file size limit ends as a failed write, with its whole lines.
    std::signal(SIGXFSZ, SIG_IGN);
    CLI::App app{"Tensiq command-line tool: find the rope-load device, back up and restore its "
                 "parameters and memory image."};
    tensiq::SettingsProfile profile;
    tensiq::cli::Tool tool;
    tool.profile = &profile;
    app.add_option(
        "--port", tool.port.given,
        "port number (7 or COM7, see TENSIQ_PORT_DIR) or device path; default: discover");
    app.set_version_flag("--version", std::string("tensiq-cli ") + tensiq::kVersion);
    app.require_subcommand(1);
    tensiq::cli::AddDiscoverCommand(app, tool);
    tensiq::cli::AddVersionCommand(app, tool);
    tensiq::cli::AddParamsCommand(app, tool);
    tensiq::cli::AddImageCommand(app, tool);
    tensiq::cli::AddRecordCommand(app, tool);
    tensiq::cli::AddPortsCommand(app, tool);
    tensiq::cli::AddDoctorCommand(app, tool);
    tensiq::cli::AddReportCommand(app, tool);
    tensiq::cli::AddStatsCommand(app, tool);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version are a success; every other parse error is a usage error.
        return app.exit(e) == 0 ? tensiq::cli::kExitOk : tensiq::cli::kExitUsage;
    }
    return tool.status;
}

} // namespace

// Whatever fails is said, never left to an abort.
int main(int argc, char** argv) {
    try {
        return RunTool(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tensiq-cli: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "tensiq-cli: an unknown failure ended the program\n");
    }
    return 1;
}
