#include "Commands.h"
#include "DeferredSignals.h"
#include "InputFile.h"

#include <algorithm>
#include <fstream>
#include <iostream>

namespace tensiq::cli {

namespace {

int RunRead(Tool& tool, const std::string& file) {
    DeviceLink link(tool.profile);
    if (!OpenLink(link, tool.port, std::cerr))
        return kExitNoDevice;
    const bool ok = link.ReadImage();
    link.Close();
    if (!ok) {
        std::cerr << "Reading the memory image is not possible: the device did not send "
                  << kImageWireSize << " bytes.\n";
        return kExitTransfer;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(link.Image().data()), kImageSize);
    if (!out.flush()) {
        std::cerr << "Cannot write " << file << ".\n";
        return kExitUsage;
    }
    out.close();
    if (out.fail()) {
        std::cerr << "Cannot write " << file << ".\n";
        return kExitUsage;
    }
    std::cout << "Memory image (" << kImageSize << " bytes) saved to " << file << ".\n";
    return kExitOk;
}

// Sends the image and reads it back; the result for the user, and the exit status.
int WriteAndVerify(DeviceLink& link, std::string& message) {
    const DeviceImage sent = link.Image();
    if (!link.WriteImage()) {
        message = "Writing the memory image is not possible: the device did not acknowledge it.";
        return kExitTransfer;
    }
    // An acknowledgement says that 8192 bytes came, not that they are the ones sent.
    if (!link.ReadImage()) {
        message = "The memory image was acknowledged but could not be read back to verify it.";
        return kExitTransfer;
    }
    const auto differ = std::mismatch(sent.begin(), sent.end(), link.Image().begin());
    if (differ.first != sent.end()) {
        message = "The memory image read back differs from the one written, first at byte " +
                  std::to_string(differ.first - sent.begin()) + ".";
        return kExitTransfer;
    }
    message = "Memory image written, read back and verified.";
    return kExitOk;
}

int RunWrite(Tool& tool, const std::string& file) {
    std::string data, error;
    if (!ReadInputFile(file, kImageSize, data, error)) {
        std::cerr << error << "\n";
        return kExitUsage;
    }
    if (data.size() != kImageSize) {
        std::cerr << file << " holds " << data.size() << " bytes; a memory image has " << kImageSize
                  << ".\n";
        return kExitUsage;
    }
    DeviceImage image;
    std::copy(data.begin(), data.end(), image.begin());
    DeviceLink link(tool.profile);
    link.SetImage(image);
    DeferredSignals deferred;
    if (!OpenLink(link, tool.port, std::cerr))
        return kExitNoDevice;
    std::string message;
    const int status = WriteAndVerify(link, message);
    link.Close();
    (status == kExitOk ? std::cout : std::cerr) << message << "\n";
    if (deferred.Pending())
        std::cerr << "Interrupted; the transfer was finished first.\n";
    std::cout.flush(); // a deferred signal ends the tool as soon as it is let through
    return status;
}

} // namespace

void AddImageCommand(CLI::App& app, Tool& tool) {
    auto* image = app.add_subcommand("image", "save or restore the device's memory image");
    image->require_subcommand(1);
    auto file = std::make_shared<std::string>();
    auto* read = image->add_subcommand("read", "save the memory image to FILE");
    read->add_option("FILE", *file)->required();
    read->callback([&tool, file] { tool.status = RunRead(tool, *file); });
    auto* write = image->add_subcommand(
        "write", "send the memory image in FILE to the device, then read it back and compare");
    write->add_option("FILE", *file)->required();
    write->callback([&tool, file] { tool.status = RunWrite(tool, *file); });
}

} // namespace tensiq::cli
