#include "AcquisitionThread.h"
#include "DeviceLink.h"
#include "RunTool.h"
#include "SimulatorFixture.h"

#include <filesystem>
#include <sstream>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

// Collects what the thread hands over; may end the run after a number of frames, as the
// command-line tool does.
class RecordingSink : public AcquisitionSink {
public:
    explicit RecordingSink(AcquisitionContext& context) : m_context(context) {}
    void OnFrame(const FrameUpdate& update) override {
        std::lock_guard lock(m_mutex);
        updates.push_back(update);
        if (stopAfter > 0 && ++m_inRun == stopAfter)
            m_context.runFlag = 0;
    }
    void OnSynchronisationFailed(const std::string& message) override {
        std::lock_guard lock(m_mutex);
        failures.push_back(message);
    }
    void OnRecordFailed(const std::string& message) override {
        std::lock_guard lock(m_mutex);
        recordFailures.push_back(message);
    }
    std::vector<std::string> RecordFailures() {
        std::lock_guard lock(m_mutex);
        return recordFailures;
    }
    void EndRunAfter(int frames) {
        std::lock_guard lock(m_mutex);
        stopAfter = frames;
        m_inRun = 0;
    }
    std::size_t Count() {
        std::lock_guard lock(m_mutex);
        return updates.size();
    }
    std::size_t Failures() {
        std::lock_guard lock(m_mutex);
        return failures.size();
    }
    std::vector<FrameUpdate> Updates() {
        std::lock_guard lock(m_mutex);
        return updates;
    }

    std::vector<FrameUpdate> updates;
    std::vector<std::string> failures;
    std::vector<std::string> recordFailures;

private:
    AcquisitionContext& m_context;
    std::mutex m_mutex;
    int stopAfter = 0;
    int m_inRun = 0;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool FileIsOpenHere(const std::string& path) {
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (std::filesystem::read_symlink(fd.path(), ec) == path)
            return true;
    }
    return false;
}

} // namespace

class AcquisitionThreadTest : public test::SimulatorFixture {
protected:
    void StartDevice(sim::DeviceConfig config) {
        config.ripple = false;
        sim->AddDevice(1, config);
        sim->Start();
        ASSERT_TRUE(link.Open(1));
        context.link = &link;
        context.sink = &sink;
        context.recordPath = Root() + "/temp.txt";
        thread.Start();
    }
    sim::DeviceConfig Readings(int reading, double rate = 200) {
        sim::DeviceConfig c = Device();
        c.readings.fill(static_cast<std::int16_t>(reading));
        c.frameRate = rate;
        return c;
    }
    // A run of exactly n frames, ended by the sink.
    void RunFrames(int n) {
        const std::size_t before = sink.Count();
        sink.EndRunAfter(n);
        thread.StartRun();
        ASSERT_TRUE(test::Eventually([&] { return sink.Count() >= before + n; }, 10s));
        thread.StopRun();
    }
    std::vector<std::string> Record() { return Lines(test::ReadFile(context.recordPath)); }
    int StreamStarts() {
        int n = 0;
        WithDevice(1, [&](sim::DeviceModel& d) { n = d.Counters().streamStarts; });
        return n;
    }

    DeviceLink link;
    AcquisitionContext context;
    RecordingSink sink{context};
    AcquisitionThread thread{context};
};

TEST_F(AcquisitionThreadTest, LoadsReachRecordAndSinkInKilogramsAndDisplayUnit) {
    StartDevice(Readings(100));
    context.SetFactor(3);
    context.SetUnit(0.5, "kg");
    RunFrames(5);
    const auto record = Record();
    ASSERT_EQ(record.size(), 6u) << "a date line and one line per frame";
    EXPECT_FALSE(record[0].empty());
    for (std::size_t i = 1; i < record.size(); ++i)
        EXPECT_EQ(record[i], "300;300;300;300;300;300;300;300;300;300;300;300;") << i;
    const auto last = sink.Updates().back();
    EXPECT_EQ(last.displayValues[0], 150);
    EXPECT_EQ(last.totalText, "Gesamt: 1800 kg");
    EXPECT_FALSE(FileIsOpenHere(context.recordPath)) << "the record is closed after the run";

    context.SetUnit(1.0, "kg");
    RunFrames(1);
    EXPECT_EQ(sink.Updates().back().totalText, "Gesamt: 3600 kg");
}

TEST_F(AcquisitionThreadTest, BadFramesRestartTheStreamWithinOneRecord) {
    sim::DeviceConfig c = Readings(42);
    c.faults.badMarkerEvery = 6;
    StartDevice(c);
    RunFrames(12);
    EXPECT_GE(StreamStarts(), 3) << "every bad frame restarts the stream";
    const auto record = Record();
    ASSERT_EQ(record.size(), 13u);
    for (std::size_t i = 1; i < record.size(); ++i)
        EXPECT_EQ(record[i], "42;42;42;42;42;42;42;42;42;42;42;42;") << "no new header: " << i;
}

TEST_F(AcquisitionThreadTest, ChartSampleEveryTenthFrameCountedAcrossRuns) {
    StartDevice(Readings(10));
    RunFrames(7);
    RunFrames(5);
    const auto updates = sink.Updates();
    ASSERT_EQ(updates.size(), 12u);
    for (std::size_t i = 0; i < updates.size(); ++i) {
        EXPECT_EQ(updates[i].frameNumber, static_cast<long>(i + 1));
        EXPECT_EQ(updates[i].chartSampleDue, i == 9) << "frame " << i + 1;
    }
    EXPECT_EQ(Record().size(), 6u) << "the second run replaced the first run's record";
}

TEST_F(AcquisitionThreadTest, StreamWithoutCarriageReturnEndsTheRunWithTheMessage) {
    sim::DeviceConfig c = Readings(10);
    c.faults.noCarriageReturn = true;
    StartDevice(c);
    thread.StartRun();
    ASSERT_TRUE(test::Eventually([&] { return sink.Failures() == 1; }, 5s));
    EXPECT_EQ(sink.failures[0], "Synchronisation auf Datenfluß nicht möglich!");
    EXPECT_TRUE(test::Eventually([&] { return !FileIsOpenHere(context.recordPath); }));
    EXPECT_EQ(context.runFlag, 0);
    EXPECT_EQ(sink.Count(), 0u);
    EXPECT_EQ(Record().size(), 1u);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(sink.Failures(), 1u) << "the thread idles after the failure";
}

TEST_F(AcquisitionThreadTest, StopWhileWaitingForAFrameLeavesTheLinkToTheCaller) {
    StartDevice(Readings(10, 2)); // one frame every 500 ms
    thread.StartRun();
    ASSERT_TRUE(test::Eventually([&] { return sink.Count() >= 1; }, 5s));
    std::this_thread::sleep_for(100ms);
    const auto start = std::chrono::steady_clock::now();
    thread.StopRun();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_FALSE(FileIsOpenHere(context.recordPath));
    EXPECT_TRUE(link.StopStreaming());
    EXPECT_TRUE(link.Close());
    const std::size_t frames = sink.Count();
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(sink.Count(), frames);
}

TEST_F(AcquisitionThreadTest, MarkedRopeRepaintsOnlyWhenItsMarkingChanges) {
    sim::DeviceConfig c = Readings(10, 100);
    c.flags[2] = 1;
    StartDevice(c);
    RunFrames(3);
    WithDevice(1, [](sim::DeviceModel& d) { d.Config().flags[2] = 0; });
    std::this_thread::sleep_for(50ms);
    RunFrames(2);
    int toGrey = 0, toWhite = 0, others = 0;
    for (const auto& u : sink.Updates())
        for (int k = 0; k < kRopes; ++k) {
            const MarkChange m = u.markChanges[k];
            if (m == MarkChange::None)
                continue;
            if (k != 2)
                ++others;
            else
                ++(m == MarkChange::ToGrey ? toGrey : toWhite);
        }
    EXPECT_EQ(toGrey, 1);
    EXPECT_EQ(toWhite, 1);
    EXPECT_EQ(others, 0);
}

TEST_F(AcquisitionThreadTest, RecordReachesTheDiskDuringTheRun) {
    StartDevice(Readings(10, 50));
    thread.StartRun();
    ASSERT_TRUE(test::Eventually([&] { return sink.Count() >= 10; }, 5s));
    const std::size_t seen = sink.Count();
    std::this_thread::sleep_for(250ms);
    EXPECT_GE(Record().size(), seen + 1) << "lines older than 100 ms are on disk";
    thread.StopRun();
    EXPECT_EQ(Record().size(), sink.Count() + 1) << "every line at the end of the run";
}

TEST_F(AcquisitionThreadTest, HangUpMidStreamEndsInTheSynchronisationMessage) {
    sim::DeviceConfig c = Readings(10);
    c.faults.hangUpAfterFrames = 5;
    StartDevice(c);
    thread.StartRun();
    ASSERT_TRUE(test::Eventually([&] { return sink.Failures() == 1; }, 5s));
    EXPECT_LE(sink.Count(), 5u);
    EXPECT_EQ(context.runFlag, 0);
}
