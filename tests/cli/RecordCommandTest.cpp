#include "RunTool.h"
#include "SimulatorFixture.h"

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
