#include "Simulator.h"
#include "SerialPort.h"
#include "SettlingLoads.h"
#include "SimulatorFixture.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <numeric>
#include <set>

using namespace tensiq;
namespace fs = std::filesystem;

TEST(Simulator, LeavesNoLinkOrFolderBehind) {
    const std::string root = test::MakeTempFolder("tensiq-sim-");
    const std::string made = root + "/ports";
    const std::string kept = root + "/existing";
    fs::create_directory(kept);
    {
        sim::Simulator a(made);
        sim::Simulator b(kept);
        a.AddDevice(7);
        a.AddSilent(1);
        b.AddNoise(2);
        a.Start();
        b.Start();
        EXPECT_TRUE(fs::is_symlink(made + "/COM7"));
        EXPECT_TRUE(fs::exists(fs::read_symlink(made + "/COM7")));
        EXPECT_TRUE(fs::is_symlink(kept + "/COM2"));
    }
    EXPECT_FALSE(fs::exists(made)) << "a folder the simulator made goes with it";
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_TRUE(fs::is_empty(kept));
    fs::remove_all(root);
}

class SimulatorDeviceTest : public test::SimulatorFixture {};

TEST_F(SimulatorDeviceTest, HangUpCutsTheLineAfterTheGivenFrames) {
    sim::DeviceConfig c = Device();
    c.frameRate = 500;
    c.faults.hangUpAfterFrames = 3;
    sim->AddDevice(1, c);
    sim->Start();
    SerialPort port;
    ASSERT_TRUE(port.Open(1, 230400));
    const std::uint8_t start[] = {'B', 'N', 'S'};
    ASSERT_EQ(port.Write(start, 3), 3);
    ASSERT_TRUE(test::Eventually([&] { return !fs::exists(sim->LinkPath(1)); }));
    WithDevice(1, [](sim::DeviceModel& d) { EXPECT_EQ(d.Counters().framesSent, 3); });
}

namespace {

struct CapturedOutput : sim::Output {
    std::string bytes;
    void Send(const std::uint8_t* data, std::size_t count) override {
        bytes.append(reinterpret_cast<const char*>(data), count);
    }
    std::size_t Pending() const override { return 0; }
    void HangUp() override {}
};

std::string NoiseOf(sim::NoiseRole& role, int bursts) {
    CapturedOutput out;
    auto now = sim::Clock::now();
    for (int i = 0; i < bursts; ++i, now += std::chrono::milliseconds(5))
        role.OnTime(now, out);
    return out.bytes;
}

} // namespace

TEST(SimulatorNoise, FixedByDefaultWithoutTheLettersThatIdentifyADevice) {
    sim::NoiseRole a, b;
    const std::string first = NoiseOf(a, 100);
    ASSERT_GE(first.size(), 10000u);
    EXPECT_EQ(first, NoiseOf(b, 100)) << "the same sequence every time";
    EXPECT_EQ(first.find_first_of("LM"), std::string::npos);
    EXPECT_EQ(first.find("V "), std::string::npos) << "nor a known identification";
    EXPECT_GT(std::set<char>(first.begin(), first.end()).size(), 250u) << "still every other byte";

    sim::NoiseRole random(true);
    EXPECT_NE(NoiseOf(random, 100).find_first_of("LM"), std::string::npos)
        << "random noise can look like a device";
}

namespace {
int Spread(const std::array<int, 12>& v) {
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    return *hi - *lo;
}
} // namespace

TEST(SettlingLoads, RopesEvenOutWhileTheTotalStays) {
    const std::array<std::int16_t, 12> start = {612, 455, 538, 702, 384, 509,
                                                591, 431, 664, 494, 566, 470};
    sim::SettlingLoads loads;
    loads.Reset(start, 100.0, 10.0); // 100 frames a second, 10 s
    const long total = std::accumulate(start.begin(), start.end(), 0L);
    std::array<int, 12> first = loads.Next();
    const int startSpread = Spread(first);
    EXPECT_GT(startSpread, 250);
    std::array<int, 12> v = first;
    for (int frame = 1; frame < 4000; ++frame) {
        v = loads.Next();
        ASSERT_EQ(std::accumulate(v.begin(), v.end(), 0L), total) << "frame " << frame;
        for (int x : v)
            ASSERT_NE(x & 0xFF, 0x0D) << "frame " << frame;
    }
    // Four time constants: the spread is down to a few percent, plus the wobble.
    EXPECT_LT(Spread(v), startSpread / 10 + 10);
    EXPECT_NE(v, first);
}
