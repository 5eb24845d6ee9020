// Any byte stream cut into 40-byte frames: every valid frame gives readings and exactly one
// record line of twelve "%d;" loads that read back as the loads computed; nothing else is written.
#include "LiveReading.h"
#include "RecordFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

using namespace tensiq;

namespace {

// The display factors the unit choice can set: kg, short ton, long ton, pound.
constexpr double kUnitFactors[] = {1.0, 0.00110231131, 0.000984206528, 2.20462262};

std::string ReadAll(int fd) {
    std::string text;
    char chunk[4096];
    ::lseek(fd, 0, SEEK_SET);
    for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(n));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    DisplaySettings settings;
    settings.factor = static_cast<std::int8_t>(data[0]); // the block comes from the device
    settings.unitFactor = kUnitFactors[(data[0] >> 1) % 4];
    ++data;
    --size;

    static const int fd = ::memfd_create("record", 0);
    if (fd < 0)
        std::abort();
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    RecordFile record;
    if (!record.Open(path))
        std::abort();
    std::vector<FrameUpdate> updates;
    for (std::size_t at = 0; at + LiveFrame::kSize <= size; at += LiveFrame::kSize) {
        LiveFrame frame;
        std::memcpy(frame.bytes.data(), data + at, LiveFrame::kSize);
        if (!frame.IsValid())
            continue;
        FrameUpdate u = ComputeReadings(frame, settings, "Gesamt");
        int total = 0;
        for (int k = 0; k < kRopes; ++k) {
            if (u.loads[k] != frame.Reading(k) * settings.factor || frame.Reading(k) < 0)
                std::abort();
            total += u.loads[k];
        }
        if (u.totalKg != total)
            std::abort();
        record.WriteLoads(u.loads);
        updates.push_back(u);
    }
    record.Close();

    const std::string text = ReadAll(fd);
    const std::size_t header = text.find('\n');
    if (header == std::string::npos)
        std::abort();
    std::size_t at = header + 1;
    for (const FrameUpdate& u : updates) {
        for (int k = 0; k < kRopes; ++k) {
            char* end = nullptr;
            const long value = std::strtol(text.c_str() + at, &end, 10);
            if (end == text.c_str() + at || *end != ';' || value != u.loads[k])
                std::abort();
            at = static_cast<std::size_t>(end - text.c_str()) + 1;
        }
        if (at >= text.size() || text[at] != '\n')
            std::abort();
        ++at;
    }
    if (at != text.size())
        std::abort();
    return 0;
}
