// Any bytes sent to the simulated device, in any chunks and with time passing between them,
// and any fault name: never a crash, a leak or undefined behaviour.
#include "DeviceModel.h"
#include "FaultNames.h"

#include <cstdlib>
#include <string>
#include <vector>

using namespace tensiq::sim;

namespace {

class Collect : public Output {
public:
    void Send(const std::uint8_t* data, std::size_t count) override {
        bytes.insert(bytes.end(), data, data + count);
    }
    std::size_t Pending() const override { return 0; }
    void HangUp() override { hungUp = true; }

    std::vector<std::uint8_t> bytes;
    bool hungUp = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    DeviceConfig config = DeviceConfig::Default();
    config.frameRate = 1000;
    // A fault named like the simulator's --fault option, up to the first newline.
    std::size_t at = 0;
    if (data[0] == 'F') {
        while (at < size && data[at] != '\n')
            ++at;
        std::string error;
        const std::string name(reinterpret_cast<const char*>(data) + 1, at - 1);
        if (!ApplyFault(name, config.faults, error) && error.empty())
            std::abort();
        ++at;
    }
    DeviceModel device(config);
    Collect out;
    auto now = Clock::now();
    // Each chunk: a length byte, then that many input bytes; time moves on between chunks.
    while (at < size) {
        const std::size_t length = std::min<std::size_t>(data[at] % 64, size - at - 1);
        device.OnInput(data + at + 1, length, out);
        at += 1 + length;
        now += std::chrono::milliseconds(3);
        if (auto due = device.NextDue(); due && *due <= now)
            device.OnTime(now, out);
        out.bytes.clear();
    }
    return 0;
}
