#include "RunTool.h"
#include "SimulatorFixture.h"
#include "Unprivileged.h"

#include <filesystem>
#include <sstream>

using namespace tensiq;

class RecordCommandTest : public test::SimulatorFixture {
protected:
    void StartDevice(const sim::DeviceFaults& faults = {}) {
        sim::DeviceConfig c = Device();
        c.ripple = false;
        c.frameRate = 400;
        c.faults = faults;
        sim->AddDevice(1, c);
        sim->Start();
        std::string line;
        for (const int reading : c.readings)
            line += std::to_string(reading) + ";"; // factor 1 in the default block
        expectedLine = line;
    }
    std::vector<std::string> Lines(const std::string& path) {
        std::vector<std::string> lines;
        std::istringstream in(test::ReadFile(path));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    bool Streaming() {
        bool streaming = true;
        WithDevice(1, [&](sim::DeviceModel& d) { streaming = d.Streaming(); });
        return streaming;
    }
    std::string expectedLine;
};

TEST_F(RecordCommandTest, ExactFrameCountSurvivesBadFrames) {
    sim::DeviceFaults f;
    f.badMarkerEvery = 50;
    StartDevice(f);
    const std::string out = Root() + "/run.txt";
    auto result =
        test::RunTool(std::string(TENSIQ_CLI) + " --port 1 record --frames 500 --out " + out);
    ASSERT_EQ(result.status, 0) << result.out;
    const auto lines = Lines(out);
    ASSERT_EQ(lines.size(), 501u);
    EXPECT_NE(lines[0].find(':'), std::string::npos) << "a date-and-time line: " << lines[0];
    for (std::size_t i = 1; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], expectedLine) << "line " << i;
    EXPECT_FALSE(Streaming()) << "the stream is stopped at the end";
}

TEST_F(RecordCommandTest, InterruptStopsCleanlyAndKeepsTheRecord) {
    StartDevice();
    auto result = test::RunTool("timeout --preserve-status -s INT 1.5 " + std::string(TENSIQ_CLI) +
                                " --port 1 record");
    EXPECT_EQ(result.status, 0) << result.out;
    EXPECT_NE(result.out.find("interrupted"), std::string::npos);
    std::istringstream in(result.out);
    std::string line;
    std::getline(in, line); // the date
    int frames = 0;
    while (std::getline(in, line) && line == expectedLine)
        ++frames;
    EXPECT_GT(frames, 10) << result.out.substr(0, 400);
    EXPECT_FALSE(Streaming());
}

TEST_F(RecordCommandTest, AnOutputThatFailsEndsWithThreeAndASilentDevice) {
    StartDevice();
    const std::string cli = std::string(TENSIQ_CLI) + " --port 1 record --frames 2000 --out ";
    const auto full = test::RunTool(cli + "/dev/full");
    EXPECT_EQ(full.status, 3) << full.out;
    EXPECT_NE(full.out.find("The record /dev/full could not be written: No space left on device"),
              std::string::npos)
        << full.out;
    EXPECT_FALSE(Streaming());

    int startsBefore = 0;
    WithDevice(1, [&](sim::DeviceModel& d) { startsBefore = d.Counters().streamStarts; });
    for (const std::string& path : {Root(), std::string("/nonexistent/x")}) {
        const auto refused = test::RunTool(cli + path);
        EXPECT_EQ(refused.status, 2) << refused.out;
        EXPECT_NE(refused.out.find("cannot be created"), std::string::npos) << refused.out;
    }
    WithDevice(1, [&](sim::DeviceModel& d) {
        EXPECT_EQ(d.Counters().streamStarts, startsBefore) << "refused before the run";
        EXPECT_EQ(d.Counters().blockReads, 1) << "only the /dev/full run read the block";
    });
}

TEST_F(RecordCommandTest, SignalsThatEndTheToolLeaveTheDeviceSilent) {
    StartDevice();
    for (const auto& [name, number] : {std::pair{"HUP", 1}, {"QUIT", 3}, {"TERM", 15}}) {
        SCOPED_TRACE(name);
        const std::string out = Root() + "/run.txt";
        const auto result = test::RunTool(std::string("timeout --preserve-status -s ") + name +
                                          " 1.5 " + TENSIQ_CLI + " --port 1 record --out " + out);
        EXPECT_EQ(result.status, 128 + number) << result.out;
        EXPECT_NE(result.out.find("the device's stream is stopped"), std::string::npos)
            << result.out;
        EXPECT_FALSE(Streaming());
        const auto lines = Lines(out);
        ASSERT_GT(lines.size(), 10u);
        EXPECT_EQ(lines.back(), expectedLine) << "the record is closed with whole lines";
    }
}

TEST_F(RecordCommandTest, AReaderThatLeavesEarlyLeavesTheDeviceSilent) {
    StartDevice();
    const auto result =
        test::RunTool("bash -c '" + std::string(TENSIQ_CLI) +
                      " --port 1 record | head -n 3; echo status=${PIPESTATUS[0]}'");
    const auto lines = Lines(Root() + "/none"); // nothing on disk: the record went to the pipe
    EXPECT_TRUE(lines.empty());
    EXPECT_NE(result.out.find(expectedLine), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("status=141"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("SIGPIPE"), std::string::npos) << result.out;
    EXPECT_FALSE(Streaming());
}

TEST_F(RecordCommandTest, ADeviceThatKeepsStreamingOrNeverSynchronisesIsAFailure) {
    sim::DeviceFaults f;
    f.neverSilent = true;
    StartDevice(f);
    // The parameter read needs a quiet device; the stream starts with the run.
    const auto stuck =
        test::RunTool(std::string(TENSIQ_CLI) + " --port 1 record --frames 20 --out /dev/null");
    EXPECT_EQ(stuck.status, 3) << stuck.out;
    EXPECT_NE(stuck.out.find("did not stop streaming"), std::string::npos) << stuck.out;

    WithDevice(1, [](sim::DeviceModel& d) {
        d.Config().faults = {};
        d.Config().faults.noCarriageReturn = true;
    });
    const auto x = test::RunTool(std::string(TENSIQ_CLI) + " --port 1 version");
    ASSERT_EQ(x.status, 0) << x.out; // quietens the stream left running above
    const auto noSync =
        test::RunTool(std::string(TENSIQ_CLI) + " --port 1 record --frames 20 --out /dev/null");
    EXPECT_EQ(noSync.status, 3) << noSync.out;
    EXPECT_NE(noSync.out.find("cannot be synchronised"), std::string::npos) << noSync.out;
    EXPECT_EQ(noSync.out.find("Synchronisation auf"), std::string::npos) << "English only";
    EXPECT_FALSE(Streaming());
}

TEST_F(RecordCommandTest, AHangUpIsReportedAsALostConnectionWithTheFramesKept) {
    sim::DeviceFaults f;
    f.hangUpAfterFrames = 50;
    StartDevice(f);
    const std::string out = Root() + "/run.txt";
    const auto result =
        test::RunTool(std::string(TENSIQ_CLI) + " --port 1 record --frames 500 --out " + out);
    EXPECT_EQ(result.status, 3) << result.out;
    EXPECT_NE(result.out.find("connection to the device was lost"), std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.find("did not stop streaming"), std::string::npos)
        << "a dead line is not a device that streams on: " << result.out;
    const auto lines = Lines(out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_LE(lines.size(), 51u) << "no line after the hang-up";
    for (std::size_t i = 1; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], expectedLine) << "line " << i;
}

TEST_F(RecordCommandTest, UsageErrorsExitTwo) {
    StartDevice();
    const std::string cli = std::string(TENSIQ_CLI) + " --port 1 ";
    for (const std::string& args :
         {std::string("record --seconds nan"), std::string("record --seconds 1e10"),
          std::string("record --seconds -1"), std::string("record --seconds 0"),
          std::string("record --frames 0"), std::string("record --frames 5 --seconds 1"),
          std::string("record --bogus"), std::string("params"), std::string("launch")}) {
        const auto result = test::RunTool(cli + args);
        EXPECT_EQ(result.status, 2) << args << ": " << result.out;
    }
    EXPECT_EQ(test::RunTool(std::string(TENSIQ_CLI) + " --help").status, 0);
    WithDevice(1, [](sim::DeviceModel& d) { EXPECT_EQ(d.Counters().blockReads, 0); });
}

TEST_F(RecordCommandTest, ARecordBeyondTheFileSizeLimitEndsWithThreeAndWholeLines) {
    StartDevice();
    test::ShareFolder(Root(), true);
    test::ShareFolder(sim->PortDir());
    test::SharePort(sim->LinkPath(1));
    const std::string out = Root() + "/run.txt";
    for (const std::string& user : {std::string(), test::AsOrdinaryUser()}) {
        SCOPED_TRACE(user.empty() ? "this user" : "ordinary user");
        std::filesystem::remove(out);
        // 4 KiB: a few dozen lines, then the writes fail as on a full disk.
        const auto result = test::RunTool("bash -c 'ulimit -f 4; exec " + user + TENSIQ_CLI +
                                          " --port 1 record --frames 5000 --out " + out + "'");
        EXPECT_EQ(result.status, 3) << result.out;
        EXPECT_NE(result.out.find("could not be written: File too large"), std::string::npos)
            << result.out;
        const auto lines = Lines(out);
        ASSERT_GT(lines.size(), 10u);
        EXPECT_LE(test::ReadFile(out).size(), 4096u);
        EXPECT_EQ(test::ReadFile(out).back(), '\n');
        for (std::size_t i = 1; i < lines.size(); ++i)
            ASSERT_EQ(lines[i], expectedLine) << "line " << i;
        EXPECT_NE(
            result.out.find("keeps the first " + std::to_string(lines.size() - 1) + " frames"),
            std::string::npos)
            << result.out;
        EXPECT_FALSE(Streaming()) << "the device was told to stop";
    }
}
