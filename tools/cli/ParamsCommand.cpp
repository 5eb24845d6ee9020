#include "CommandJson.h"
#include "Commands.h"
#include "DeferredSignals.h"
#include "InputFile.h"
#include "ParameterJson.h"

#include <iostream>

namespace tensiq::cli {

namespace {

bool ReadBlock(DeviceLink& link, ParameterBlock& block) {
    if (link.ReadParameters(block))
        return true;
    std::cerr << "Reading the parameters is not possible: the device did not send a valid "
                 "block.\n";
    return false;
}

int RunRead(Tool& tool, bool json) {
    DeviceLink link(tool.profile);
    if (!OpenLink(link, tool.port, std::cerr))
        return kExitNoDevice;
    ParameterBlock block;
    const bool ok = ReadBlock(link, block);
    link.Close();
    if (!ok)
        return kExitTransfer;
    if (json)
        std::cout << JsonText(BlockToJson(block), 2) << "\n";
    else
        std::cout << BlockToTable(block);
    return kExitOk;
}

// A backup is about 700 bytes; anything far larger is not one.
constexpr std::size_t kMaxParameterFile = 64 * 1024;

int RunWrite(Tool& tool, const std::string& file) {
    std::string text, error;
    if (!ReadInputFile(file, kMaxParameterFile, text, error)) {
        std::cerr << error << "\n";
        return kExitUsage;
    }
    const nlohmann::json wanted = nlohmann::json::parse(text, nullptr, false);
    if (wanted.is_discarded()) {
        std::cerr << file << " is not valid JSON.\n";
        return kExitUsage;
    }
    // Check the file before touching the device, so a typo never costs a transfer.
    if (!CheckJson(wanted, error)) {
        std::cerr << file << ": " << error << ".\n";
        return kExitUsage;
    }
    DeferredSignals deferred;
    DeviceLink link(tool.profile);
    if (!OpenLink(link, tool.port, std::cerr))
        return kExitNoDevice;
    ParameterBlock block;
    if (!ReadBlock(link, block)) {
        link.Close();
        return kExitTransfer;
    }
    // Ranges are checked against the device's block: a field it already holds passes.
    if (!OverlayJson(wanted, block, error)) {
        link.Close();
        std::cerr << file << ": " << error << ".\n";
        return kExitUsage;
    }
    const int result = link.WriteParameters(block);
    link.Close();
    if (result != kWriteOk)
        std::cerr << "Writing the parameters is not possible: step " << result << ", "
                  << WriteResultText(result) << ".\n";
    else
        std::cout << "The parameters were written successfully." << std::endl;
    if (deferred.Pending())
        std::cerr << "Interrupted; the transfer was finished first.\n";
    return result == kWriteOk ? kExitOk : kExitTransfer;
}

} // namespace

void AddParamsCommand(CLI::App& app, Tool& tool) {
    auto* params = app.add_subcommand("params", "read or write the parameter block");
    params->require_subcommand(1);
    auto* read = params->add_subcommand("read", "print the device's parameter block");
    auto json = std::make_shared<bool>(false);
    read->add_flag("--json", *json, "print one JSON object (the backup format)");
    read->callback([&tool, json] { tool.status = RunRead(tool, *json); });

    auto* write = params->add_subcommand(
        "write", "write the fields named in a JSON file; the rest keep the device's values");
    auto file = std::make_shared<std::string>();
    write->add_option("FILE", *file, "JSON file as printed by params read --json")->required();
    write->callback([&tool, file] { tool.status = RunWrite(tool, *file); });
}

} // namespace tensiq::cli
