// The simulator numbers its frames in the two bytes the program does not read: the benchmarks tie
// each update to its send time by that number, and a 0x0D inside a frame would let a stream
// synchronise in the middle of one.
#include "DeviceModel.h"
#include "LiveFrame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace tensiq;

namespace {

class Frames : public sim::Output {
public:
    void Send(const std::uint8_t* data, std::size_t count) override {
        bytes.insert(bytes.end(), data, data + count);
    }
    void SendFrame(const std::uint8_t* data, std::size_t count, std::uint16_t tag) override {
        Send(data, count);
        tags.push_back(tag);
    }
    std::size_t Pending() const override { return 0; }
    void HangUp() override {}

    std::vector<std::uint8_t> bytes;
    std::vector<std::uint16_t> tags;
};

} // namespace

TEST(SimulatorFrameNumber, NoNumberRepeatsWithinAStreamAndNoByteButTheLastIsACarriageReturn) {
    sim::DeviceModel device(sim::DeviceConfig::Default());
    Frames out;
    const std::uint8_t start[] = {'B', 'N', 'S'};
    device.OnInput(start, sizeof start, out);
    constexpr std::size_t kFrames = 65025;
    auto now = sim::Clock::now();
    std::vector<bool> seen(65536);
    for (std::size_t n = 0; n < kFrames; ++n) {
        now += std::chrono::seconds(1);
        device.OnTime(now, out);
        ASSERT_EQ(out.bytes.size(), LiveFrame::kSize);
        LiveFrame frame;
        std::memcpy(frame.bytes.data(), out.bytes.data(), LiveFrame::kSize);
        out.bytes.clear();
        ASSERT_TRUE(frame.IsValid());
        ASSERT_EQ(frame.Tag(), out.tags.back())
            << "the number the simulator reports is the frame's";
        ASSERT_FALSE(seen[frame.Tag()]) << "frame " << n << " repeats number " << frame.Tag();
        seen[frame.Tag()] = true;
        for (std::size_t i = 0; i + 1 < LiveFrame::kSize; ++i)
            ASSERT_NE(frame.bytes[i], LiveFrame::kTerminator) << "frame " << n << " byte " << i;
    }
}

TEST(SimulatorFrameNumber, NumberedReadingsGiveTheNumberBackAndNeverACarriageReturn) {
    for (long n = 0; n < 4'000'000; n += n < 70'000 ? 1 : 997) {
        const auto readings = sim::FrameNumberReadings(n);
        for (const std::int16_t r : readings) {
            ASSERT_GE(r, 0) << n;
            ASSERT_NE(r & 0xFF, 0x0D) << n;
            ASSERT_NE((r >> 8) & 0xFF, 0x0D) << n;
        }
        ASSERT_EQ(sim::FrameNumberFromReadings(readings[0], readings[1]), n);
    }
    EXPECT_EQ(sim::FrameNumberFromReadings(486, 0x0D0E), -1) << "a byte it never makes";
    EXPECT_EQ(sim::FrameNumberFromReadings(-1, 0), -1);
}
