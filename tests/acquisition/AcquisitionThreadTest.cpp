#include "AcquisitionThread.h"
#include "DeviceLink.h"
#include "FileSizeLimit.h"
#include "RunTool.h"
#include "SimulatorFixture.h"

#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

// Collects what the thread hands over; may end the run after a number of frames, as the
// command-line tool does.
class RecordingSink : public AcquisitionSink {
public:
    explicit RecordingSink(AcquisitionContext& context) : m_context(context) {}
    void OnFrame(const FrameUpdate& update) override {
        {
            std::lock_guard lock(m_mutex);
            updates.push_back(update);
            if (stopAfter > 0 && ++m_inRun == stopAfter)
                m_context.runFlag = 0;
        }
        if (onFrame)
            onFrame(update);
    }
    void OnSynchronisationFailed(const std::string& message) override {
        std::lock_guard lock(m_mutex);
        failures.push_back(message);
    }
    void OnConnectionLost(const std::string& message) override {
        std::lock_guard lock(m_mutex);
        lost.push_back(message);
    }
    void OnRecordFailed(const RecordFailure& failure) override {
        std::lock_guard lock(m_mutex);
        recordFailures.push_back(failure.Text());
    }
    std::size_t Lost() {
        std::lock_guard lock(m_mutex);
        return lost.size();
    }
    std::size_t RecordFailures() {
        std::lock_guard lock(m_mutex);
        return recordFailures.size();
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
    std::vector<std::string> lost;
    std::vector<std::string> recordFailures;
    // Runs on the acquisition thread after each frame is stored; set before the run.
    std::function<void(const FrameUpdate&)> onFrame;

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

TEST_F(AcquisitionThreadTest, EveryFrameCarriesTheMarksOfThatFrame) {
    sim::DeviceConfig c = Readings(10, 100);
    c.flags[2] = 1;
    StartDevice(c);
    RunFrames(3);
    WithDevice(1, [](sim::DeviceModel& d) { d.Config().flags[2] = 0; });
    std::this_thread::sleep_for(50ms);
    RunFrames(2);
    const auto updates = sink.Updates();
    ASSERT_EQ(updates.size(), 5u);
    for (std::size_t i = 0; i < updates.size(); ++i)
        for (int k = 0; k < kRopes; ++k)
            EXPECT_EQ(updates[i].marked[k], k == 2 && i < 3) << "frame " << i << " rope " << k;
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

TEST_F(AcquisitionThreadTest, HangUpEndsTheRunAtOnceWithConnectionLost) {
    sim::DeviceConfig c = Readings(10);
    c.faults.hangUpAfterFrames = 60; // well after the stream start's pauses
    std::atomic<std::uint64_t> pollsAtLastFrame{0}, readsAtLastFrame{0};
    sink.onFrame = [&](const FrameUpdate&) {
        pollsAtLastFrame = link.Port().SystemPollCount();
        readsAtLastFrame = link.Port().SystemReadCount();
    };
    StartDevice(c);
    thread.StartRun();
    ASSERT_TRUE(test::Eventually([&] { return sink.Lost() == 1; }, 5s));
    EXPECT_EQ(sink.lost[0], "Verbindung zum Tensiq nicht vorhanden!");
    EXPECT_EQ(sink.Failures(), 0u) << "not taken for a stream without frame starts";
    EXPECT_EQ(context.runFlag, 0);
    EXPECT_GT(sink.Count(), 0u) << "the line died while frames came";
    EXPECT_LE(link.Port().SystemPollCount() - pollsAtLastFrame, 2u)
        << "a dead line is seen at once, not polled until the frame wait runs out";
    EXPECT_LE(link.Port().SystemReadCount() - readsAtLastFrame, 2u) << "nor read";
    EXPECT_FALSE(FileIsOpenHere(context.recordPath)) << "closed before the sink hears of it";
    EXPECT_EQ(Record().size(), sink.Count() + 1);
    thread.StopRun();
}

TEST_F(AcquisitionThreadTest, StopRunRightAfterTheRunCheckWaitsForTheRecordToClose) {
    // The restart point of a stream restart finds the run on and the stop lands right after.
    // The thread is held there until StopRun has returned and the test has looked, or for
    // 300 ms, which is what a correct StopRun costs here.
    sim::DeviceConfig c = Readings(10);
    c.faults.badMarkerEvery = 4;
    std::mutex mutex;
    std::condition_variable cv;
    int checks = 0;
    bool cleared = false, looked = false;
    thread.SetStepHook([&](AcquisitionStep step) {
        std::unique_lock lock(mutex);
        if (step != AcquisitionStep::RunChecked || ++checks != 2)
            return;
        context.runFlag = 0; // StopRun's first half
        cleared = true;
        cv.notify_all();
        cv.wait_for(lock, 300ms, [&] { return looked; });
    });
    StartDevice(c);
    thread.StartRun();
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(cv.wait_for(lock, 5s, [&] { return cleared; }));
    }
    thread.StopRun();
    EXPECT_FALSE(FileIsOpenHere(context.recordPath)) << "StopRun returned with the record open";
    {
        std::lock_guard lock(mutex);
        looked = true;
    }
    cv.notify_all();
    EXPECT_EQ(Record().size(), sink.Count() + 1);
    RunFrames(2);
    EXPECT_EQ(Record().size(), 3u) << "the next run starts its own record";
}

TEST_F(AcquisitionThreadTest, RecordIsOnTheDiskAtEveryStreamRestart) {
    sim::DeviceConfig c = Readings(10, 500);
    c.faults.badMarkerEvery = 6;
    std::mutex mutex;
    std::vector<std::pair<std::size_t, std::size_t>> atRestart; // frames seen, lines on disk
    thread.SetStepHook([&](AcquisitionStep step) {
        if (step != AcquisitionStep::StreamStart)
            return;
        const std::size_t frames = sink.Count();
        const std::size_t lines = Record().size();
        std::lock_guard lock(mutex);
        atRestart.emplace_back(frames, lines);
    });
    StartDevice(c);
    RunFrames(25);
    std::lock_guard lock(mutex);
    ASSERT_GE(atRestart.size(), 4u);
    for (const auto& [frames, lines] : atRestart)
        EXPECT_EQ(lines, frames + 1) << "the stream start's pauses come after the flush";
}

TEST_F(AcquisitionThreadTest, StopRunDoesNotWaitForABlockedSink) {
    // A window's sink may wait for the GUI thread, which may be in StopRun at that moment.
    std::mutex mutex;
    std::condition_variable cv;
    bool inSink = false, released = false, timedOut = false;
    sink.onFrame = [&](const FrameUpdate&) {
        std::unique_lock lock(mutex);
        if (inSink)
            return;
        inSink = true;
        cv.notify_all();
        timedOut = !cv.wait_for(lock, 10s, [&] { return released; });
    };
    StartDevice(Readings(10));
    thread.StartRun();
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(cv.wait_for(lock, 5s, [&] { return inSink; }));
    }
    thread.StopRun();
    {
        std::lock_guard lock(mutex);
        EXPECT_FALSE(timedOut) << "StopRun waited for the sink";
    }
    EXPECT_FALSE(FileIsOpenHere(context.recordPath));
    EXPECT_EQ(Record().size(), 2u) << "the one frame's line is complete";
    EXPECT_TRUE(link.StopStreaming());
    EXPECT_TRUE(link.Close());
    {
        std::lock_guard lock(mutex);
        released = true;
    }
    cv.notify_all();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(sink.Count(), 1u) << "back from the sink, the thread finds its run over";
    EXPECT_EQ(Record().size(), 2u);
}

TEST_F(AcquisitionThreadTest, RecordThatCannotBeCreatedEndsTheRunBeforeTheStream) {
    StartDevice(Readings(10));
    context.recordPath = Root() + "/no-such-folder/temp.txt";
    thread.StartRun();
    ASSERT_TRUE(test::Eventually([&] { return sink.RecordFailures() == 1; }, 5s));
    EXPECT_NE(sink.recordFailures[0].find(context.recordPath), std::string::npos);
    EXPECT_EQ(context.runFlag, 0);
    EXPECT_EQ(StreamStarts(), 0) << "the device never starts streaming";
    EXPECT_EQ(sink.Count(), 0u);
}

TEST_F(AcquisitionThreadTest, RecordThatStopRunCannotCloseIsToldOfByTheThread) {
    // Room for the date line and one frame line: the second line can never reach the file.
    // Usually it is still buffered when the sink gets its frame and StopRun closes the record
    // under the blocked sink; if it was flushed early, the thread finds the failure itself.
    // Either way it is told of once and the record keeps whole lines.
    const std::string line(12 * 3, 'x');
    test::FileSizeLimit disk(LocalDateTimeText().size() + 1 + line.size() + 1);
    std::mutex mutex;
    std::condition_variable cv;
    bool inSink = false, released = false;
    sink.onFrame = [&](const FrameUpdate& update) {
        if (update.frameNumber != 2)
            return;
        std::unique_lock lock(mutex);
        inSink = true;
        cv.notify_all();
        cv.wait_for(lock, 10s, [&] { return released; });
    };
    StartDevice(Readings(10, 1000));
    thread.StartRun();
    ASSERT_TRUE(test::Eventually(
        [&] {
            std::lock_guard lock(mutex);
            return inSink || sink.RecordFailures() > 0;
        },
        5s));
    const bool closedUnderTheSink = sink.RecordFailures() == 0;
    thread.StopRun();
    if (closedUnderTheSink) {
        EXPECT_EQ(sink.RecordFailures(), 0u) << "StopRun runs on the caller's thread";
    }
    {
        std::lock_guard lock(mutex);
        released = true;
    }
    cv.notify_all();
    ASSERT_TRUE(test::Eventually([&] { return sink.RecordFailures() == 1; }));
    EXPECT_NE(sink.recordFailures[0].find("keeps the first 1 frames"), std::string::npos)
        << sink.recordFailures[0];
    EXPECT_EQ(Record().size(), 2u);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(sink.RecordFailures(), 1u) << "told of once";
}

// A record that the file system holds up: a fifo whose reader has stopped reading (as a hung
// network folder would). StopRun must come back while the thread is stuck in its write, and
// the thread finishes the run once the write returns.
TEST_F(AcquisitionThreadTest, ARecordThatBlocksNeverHoldsStopRun) {
    const std::string fifo = Root() + "/temp.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Closed on every way out, before the thread is joined: its write then fails and returns.
    struct Reader {
        int fd;
        ~Reader() { ::close(fd); }
    } reader{::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    ASSERT_GE(reader.fd, 0);
    std::signal(SIGPIPE, SIG_IGN);
    StartDevice(Readings(10, 1000));
    thread.StartRun();
    // The pipe fills and the thread's write waits: the frames stop.
    ASSERT_TRUE(test::Eventually(
        [&] {
            const std::size_t frames = sink.Count();
            std::this_thread::sleep_for(300ms);
            return frames > 100 && sink.Count() == frames;
        },
        20s));
    auto stopped = std::async(std::launch::async, [&] { thread.StopRun(); });
    EXPECT_EQ(stopped.wait_for(10s), std::future_status::ready)
        << "StopRun waited for the record's file system";
    EXPECT_TRUE(link.StopStreaming()) << "the link is free while the record is stuck";
    // Reading on lets the write through.
    std::vector<char> buffer(1 << 16);
    while (stopped.wait_for(10ms) != std::future_status::ready)
        while (::read(reader.fd, buffer.data(), buffer.size()) > 0) {
        }
}

TEST_F(AcquisitionThreadTest, ARecordOnAFifoWithoutReaderEndsTheRunAtOnce) {
    const std::string fifo = Root() + "/temp.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    StartDevice(Readings(10));
    thread.StartRun();
    const bool told = test::Eventually([&] { return sink.RecordFailures() == 1; }, 5s);
    if (!told) {
        // Lets a blocked open through, so that the test ends.
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        thread.StopRun();
        ::close(reader);
    }
    ASSERT_TRUE(told) << "the open waited for a reader";
    EXPECT_NE(sink.recordFailures[0].find(fifo), std::string::npos) << sink.recordFailures[0];
    EXPECT_EQ(context.runFlag, 0);
    EXPECT_EQ(StreamStarts(), 0) << "the device never starts streaming";
    thread.StopRun();
}
