// Any text as a parameter file: never a crash, an accepted field is stored as given, a refused
// file leaves the block alone, and the block's own JSON is always taken back unchanged.
#include "ParameterJson.h"

#include <cstdlib>

using namespace tensiq;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first 128 bytes, when there are that many, are the block that was read.
    ParameterBlock read;
    if (size >= ParameterBlock::kSize) {
        std::copy(data, data + ParameterBlock::kSize, read.bytes.begin());
        data += ParameterBlock::kSize;
        size -= ParameterBlock::kSize;
    } else {
        read.SetRopeCount(12);
        read.SetFactor(1);
    }
    const auto json = nlohmann::json::parse(data, data + size, nullptr, false);
    if (json.is_discarded())
        return 0;
    ParameterBlock block = read;
    std::string error;
    const bool accepted = cli::OverlayJson(json, block, error);
    if (!accepted) {
        if (error.empty() || block != read)
            std::abort();
        return 0;
    }
    const auto stored = cli::BlockToJson(block);
    for (const auto& [key, value] : json.items()) {
        if (key == "reserved" || key == "deviceData" || key == "checksum")
            continue;
        // Compared as the numbers they are: an unsigned 2^64-1 is not -1.
        const long long kept = stored.at(key).get<long long>();
        const bool same = value.is_number_unsigned()
                              ? kept >= 0 && static_cast<unsigned long long>(kept) ==
                                                 value.get<unsigned long long>()
                              : value.is_number_integer() && kept == value.get<long long>();
        if (!same)
            std::abort();
    }
    // Bytes that are not fields travel unchanged.
    for (std::size_t i : {20, 21, 22, 23, 24})
        if (block.bytes[i] != read.bytes[i])
            std::abort();
    for (std::size_t i = ParameterBlock::kDeviceDataAt; i < ParameterBlock::kChecksumAt; ++i)
        if (block.bytes[i] != read.bytes[i])
            std::abort();
    cli::BlockToTable(block);
    return 0;
}
