#include "ChunkPacer.h"
#include "DeviceLink.h"
#include "SimulatorFixture.h"

#include <vector>

using namespace tensiq;
using namespace std::chrono_literals;
using Clock = ChunkPacer::Clock;

namespace {

// A clock that moves only when the code sleeps or the test says a write took time.
class FakeTiming : public ChunkPacer::Timing {
public:
    Clock::time_point Now() override { return now; }
    void SleepUntil(Clock::time_point when) override {
        ++sleeps;
        targets.push_back(when);
        if (when > now)
            now = when;
        now += late;
        if (early > Clock::duration::zero() && sleeps == 1)
            now -= early;
    }

    Clock::time_point now{Clock::duration(1'000'000'000)};
    Clock::duration late{};
    Clock::duration early{};
    int sleeps = 0;
    std::vector<Clock::time_point> targets;
};

// Runs n chunks, each write taking writeTime; the start time of each chunk.
std::vector<Clock::time_point> Chunks(FakeTiming& timing, int n, Clock::duration writeTime) {
    ChunkPacer pacer(1ms, &timing);
    std::vector<Clock::time_point> starts;
    for (int i = 0; i < n; ++i) {
        pacer.WaitForTurn();
        starts.push_back(timing.now);
        timing.now += writeTime;
    }
    return starts;
}

} // namespace

TEST(ChunkPacer, PausesCountFromChunkStartSoWriteTimeIsNotAddedOnTop) {
    FakeTiming timing;
    const auto starts = Chunks(timing, 2048, 300us);
    EXPECT_EQ(timing.sleeps, 2047) << "one wait per gap, none before the first chunk";
    for (std::size_t i = 0; i < starts.size(); ++i)
        ASSERT_EQ(starts[i], starts[0] + i * 1ms) << "chunk " << i;
}

TEST(ChunkPacer, NoGapIsShorterThanThePeriod) {
    FakeTiming late;
    late.late = 400us;
    auto starts = Chunks(late, 100, 50us);
    for (std::size_t i = 1; i < starts.size(); ++i)
        ASSERT_GE(starts[i] - starts[i - 1], 1ms) << "after a late wake-up, chunk " << i;

    FakeTiming early;
    early.early = 200us; // the first wake-up comes before its time
    starts = Chunks(early, 3, 0us);
    EXPECT_EQ(starts[1] - starts[0], 1ms);
    EXPECT_EQ(early.sleeps, 3) << "woken early, it sleeps again";
}

TEST(ChunkPacer, AWriteLongerThanThePeriodIsNotFollowedByAPause) {
    FakeTiming timing;
    const auto starts = Chunks(timing, 5, 1500us);
    EXPECT_EQ(timing.sleeps, 0);
    EXPECT_EQ(starts[4] - starts[0], 4 * 1500us);
}

class ImagePacing : public test::SimulatorFixture {};

TEST_F(ImagePacing, TheImageGoesOutIn2048ChunksEachFollowedByOnePause) {
    sim->AddDevice(1, Device());
    sim->Start();
    DeviceLink link;
    ASSERT_TRUE(link.Open(1));
    ASSERT_TRUE(link.ReadImage());
    FakeTiming timing;
    link.SetPacerTiming(&timing);
    ASSERT_TRUE(link.WriteImage());
    ASSERT_EQ(timing.sleeps, 2048);
    for (std::size_t i = 1; i < timing.targets.size(); ++i)
        ASSERT_EQ(timing.targets[i] - timing.targets[i - 1], 1ms) << "pause " << i;
}
