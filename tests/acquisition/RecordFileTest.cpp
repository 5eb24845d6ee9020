#include "RecordFile.h"
#include "AcquisitionThread.h"
#include "DeviceLink.h"
#include "FileSizeLimit.h"
#include "RunTool.h"
#include "SimulatorFixture.h"

#include <filesystem>
#include <sstream>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

constexpr std::array<int, kRopes> kLoads = {486, 478, 493, 502, 510, 497,
                                            540, 536, 548, 505, 560, 552};
const std::string kLine = "486;478;493;502;510;497;540;536;548;505;560;552;";

using test::FileSizeLimit;

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(test::ReadFile(path));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(RecordFile, OutputsThatCannotBeCreatedOrWrittenAreRefusedAtOnce) {
    const std::string folder = test::MakeTempFolder("tensiq-record-");
    for (const std::string& path : {std::string("/dev/full"), folder, folder + "/no/such/x"}) {
        RecordFile record;
        EXPECT_FALSE(record.Open(path)) << path;
        EXPECT_FALSE(record.IsOpen());
        EXPECT_TRUE(record.Failed());
        EXPECT_NE(record.Error().find(path), std::string::npos) << record.Error();
        EXPECT_FALSE(record.WriteLoads(kLoads));
    }
    RecordFile full;
    full.Open("/dev/full");
    EXPECT_NE(full.Error().find("No space left on device"), std::string::npos) << full.Error();
    std::filesystem::remove_all(folder);
}

TEST(RecordFile, AFullDiskEndsTheRecordWithWholeLinesAndSaysHowManyItKeeps) {
    const std::string folder = test::MakeTempFolder("tensiq-record-");
    const std::string path = folder + "/temp.txt";
    RecordFile record;
    {
        FileSizeLimit disk(3000); // room for about sixty lines
        ASSERT_TRUE(record.Open(path)) << record.Error();
        for (int i = 0; i < 20; ++i)
            ASSERT_TRUE(record.WriteLoads(kLoads));
        std::this_thread::sleep_for(RecordFile::kFlushInterval + 10ms);
        ASSERT_TRUE(record.FlushIfDue()) << "twenty lines fit";
        bool ok = true;
        for (int i = 0; i < 200 && ok; ++i)
            ok = record.WriteLoads(kLoads);
        if (ok)
            ok = record.Close();
        EXPECT_FALSE(ok) << "a failed write is never passed off as success";
    }
    EXPECT_EQ(record.FramesKept(), 20);
    EXPECT_NE(record.Error().find("keeps the first 20 frames"), std::string::npos)
        << record.Error();
    EXPECT_FALSE(record.IsOpen());
    const auto lines = Lines(path);
    ASSERT_EQ(lines.size(), 21u) << "the date line and the lines kept, none cut in half";
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], kLine) << i;
    EXPECT_FALSE(record.Close()) << "the failure stays reported";
    std::filesystem::remove_all(folder);
}

TEST(RecordFile, AGoodRecordClosesWithEveryLine) {
    const std::string folder = test::MakeTempFolder("tensiq-record-");
    const std::string path = folder + "/temp.txt";
    RecordFile record;
    ASSERT_TRUE(record.Open(path));
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(record.WriteLoads(kLoads));
    EXPECT_TRUE(record.Close());
    EXPECT_FALSE(record.Failed());
    EXPECT_EQ(record.FramesKept(), 300);
    EXPECT_EQ(Lines(path).size(), 301u);
    std::filesystem::remove_all(folder);
}

namespace {

class FailureSink : public AcquisitionSink {
public:
    void OnFrame(const FrameUpdate&) override { ++frames; }
    void OnSynchronisationFailed(const std::string&) override {}
    void OnConnectionLost(const std::string&) override {}
    void OnRecordFailed(const RecordFailure& failure) override {
        std::lock_guard lock(m_mutex);
        failures.push_back(failure.Text());
    }
    std::vector<std::string> Failures() {
        std::lock_guard lock(m_mutex);
        return failures;
    }
    std::atomic<int> frames{0};

private:
    std::mutex m_mutex;
    std::vector<std::string> failures;
};

} // namespace

class RecordFailureTest : public test::SimulatorFixture {
protected:
    void Start(const std::string& recordPath) {
        sim::DeviceConfig c = Device();
        c.frameRate = 400;
        sim->AddDevice(1, c);
        sim->Start();
        ASSERT_TRUE(link.Open(1));
        context.link = &link;
        context.sink = &sink;
        context.recordPath = recordPath;
        thread.Start();
        thread.StartRun();
    }
    int StreamStarts() {
        int n = 0;
        WithDevice(1, [&](sim::DeviceModel& d) { n = d.Counters().streamStarts; });
        return n;
    }

    DeviceLink link;
    AcquisitionContext context;
    FailureSink sink;
    AcquisitionThread thread{context};
};

TEST_F(RecordFailureTest, ARecordThatCannotBeStartedEndsTheRunBeforeTheStream) {
    Start("/dev/full");
    ASSERT_TRUE(test::Eventually([&] { return sink.Failures().size() == 1; }));
    EXPECT_EQ(context.runFlag, 0);
    std::this_thread::sleep_for(300ms);
    thread.StopRun();
    EXPECT_EQ(sink.Failures().size(), 1u) << "reported once, not at every pass";
    EXPECT_EQ(StreamStarts(), 0);
    EXPECT_EQ(sink.frames, 0);
}

TEST_F(RecordFailureTest, ARecordThatFillsTheDiskEndsTheRunAndSaysSo) {
    const std::string path = Root() + "/temp.txt";
    FileSizeLimit disk(4000);
    Start(path);
    ASSERT_TRUE(test::Eventually([&] { return sink.Failures().size() == 1; }, 5s));
    EXPECT_EQ(context.runFlag, 0);
    thread.StopRun();
    const auto failures = sink.Failures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find(path), std::string::npos) << failures[0];
    EXPECT_NE(failures[0].find("keeps the first"), std::string::npos) << failures[0];
    const auto lines = Lines(path);
    ASSERT_GE(lines.size(), 2u);
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), ';'), 12) << "whole lines only";
    EXPECT_LT(sink.frames, 200);
}
