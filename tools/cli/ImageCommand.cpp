#include "Commands.h"

#include <fstream>
#include <iostream>
#include <iterator>

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
    std::cout << "Memory image (" << kImageSize << " bytes) saved to " << file << ".\n";
    return kExitOk;
}

int RunWrite(Tool& tool, const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "Cannot read " << file << ".\n";
        return kExitUsage;
    }
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() != kImageSize) {
        std::cerr << file << " holds " << data.size() << " bytes; a memory image has " << kImageSize
                  << ".\n";
        return kExitUsage;
    }
    DeviceImage image;
    std::copy(data.begin(), data.end(), image.begin());
    DeviceLink link(tool.profile);
    link.SetImage(image);
    if (!OpenLink(link, tool.port, std::cerr))
        return kExitNoDevice;
    const bool ok = link.WriteImage();
    link.Close();
    if (!ok) {
        std::cerr << "Writing the memory image is not possible: the device did not acknowledge "
                     "it.\n";
        return kExitTransfer;
    }
    std::cout << "Memory image written and acknowledged.\n";
    return kExitOk;
}

} // namespace

void AddImageCommand(CLI::App& app, Tool& tool) {
    auto* image = app.add_subcommand("image", "save or restore the device's memory image");
    image->require_subcommand(1);
    auto file = std::make_shared<std::string>();
    auto* read = image->add_subcommand("read", "save the memory image to FILE");
    read->add_option("FILE", *file)->required();
    read->callback([&tool, file] { tool.status = RunRead(tool, *file); });
    auto* write = image->add_subcommand("write", "send the memory image in FILE to the device");
    write->add_option("FILE", *file)->required();
    write->callback([&tool, file] { tool.status = RunWrite(tool, *file); });
}

} // namespace tensiq::cli
