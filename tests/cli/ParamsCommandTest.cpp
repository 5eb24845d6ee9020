#include "RunTool.h"
#include "SimulatorFixture.h"

#include <nlohmann/json.hpp>

#include <csignal>
#include <cstring>
#include <fstream>
#include <numeric>

using namespace tensiq;
using nlohmann::json;

class ParamsCommandTest : public test::SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        sim->AddDevice(1);
        sim->Start();
    }
    test::ToolResult Cli(const std::string& args) {
        return test::RunTool(std::string(TENSIQ_CLI) + " --port 1 " + args);
    }
    std::string WriteFile(const std::string& name, const std::string& text) {
        const std::string path = Root() + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    sim::DeviceConfig DeviceState() {
        sim::DeviceConfig c;
        WithDevice(1, [&](sim::DeviceModel& d) { c = d.Config(); });
        return c;
    }
};

TEST_F(ParamsCommandTest, BackupChangeAndRestoreKeepTheDevicesOwnBytes) {
    auto read = Cli("params read --json");
    ASSERT_EQ(read.status, 0) << read.out;
    json backup = json::parse(read.out);
    EXPECT_EQ(backup["fullScaleLoad"], 8000);
    EXPECT_EQ(backup["ropeCount"], 12);
    EXPECT_EQ(backup["reserved"], "1234A55A7E");

    json changed = backup;
    changed["tare"] = 1400;
    changed["ropeCount"] = 8;
    changed["deviceData"] = "FF"; // never taken from a file
    auto write = Cli("params write " + WriteFile("changed.json", changed.dump()));
    ASSERT_EQ(write.status, 0) << write.out;

    json after = json::parse(Cli("params read --json").out);
    EXPECT_EQ(after["tare"], 1400);
    EXPECT_EQ(after["ropeCount"], 8);
    EXPECT_EQ(after["reserved"], backup["reserved"]);
    EXPECT_EQ(after["deviceData"], backup["deviceData"]);
    const auto stored = DeviceState().block;
    EXPECT_EQ(std::accumulate(stored.begin(), stored.end(), 0u) & 0xFF, 0u) << "valid checksum";

    ASSERT_EQ(Cli("params write " + WriteFile("backup.json", backup.dump())).status, 0);
    after = json::parse(Cli("params read --json").out);
    EXPECT_EQ(after, backup) << "the backup restores the device as it was";
}

TEST_F(ParamsCommandTest, RefusedFileNeverReachesTheDevice) {
    for (const std::string& text :
         {std::string("{ropeCount"), std::string(R"({"tare": 18446744073709551615})"),
          std::string(R"({"factor": 9223372036854775808})"), std::string(R"({"tare": 1.5})"),
          std::string(R"({"ropeCounts": 4})")}) {
        const auto result = Cli("params write " + WriteFile("bad.json", text));
        EXPECT_EQ(result.status, 2) << text << ": " << result.out;
    }
    for (const std::string& path : {Root(), std::string("/dev/zero"), Root() + "/missing.json"}) {
        const auto result = Cli("params write " + path);
        EXPECT_EQ(result.status, 2) << path << ": " << result.out;
        EXPECT_NE(result.out.find(path), std::string::npos) << result.out;
    }
    EXPECT_EQ(Cli("params write " + WriteFile("huge.json", std::string(100000, ' ') + "{}")).status,
              2);
    WithDevice(1, [](sim::DeviceModel& d) {
        EXPECT_EQ(d.Counters().blockReads, 0) << "checked before the device is asked";
    });
    // A changed value outside the device's range is refused once the device's block is known.
    const auto range = Cli("params write " + WriteFile("range.json", R"({"ropeCount": 13})"));
    EXPECT_EQ(range.status, 2);
    EXPECT_NE(range.out.find("ropeCount"), std::string::npos) << range.out;
    WithDevice(1, [](sim::DeviceModel& d) { EXPECT_EQ(d.Counters().blocksStored, 0); });
}

TEST_F(ParamsCommandTest, ABackupOfADeviceWithOddValuesRestores) {
    WithDevice(1, [](sim::DeviceModel& d) {
        d.Config().block[18] = 0;    // no ropes
        d.Config().block[19] = 0xFB; // factor -5
        d.Config().block[27] = 9;    // an unknown sensor type
    });
    const auto read = Cli("params read --json");
    ASSERT_EQ(read.status, 0) << read.out;
    const json backup = json::parse(read.out);
    EXPECT_EQ(backup["factor"], -5);
    json changed = backup;
    changed["tare"] = 77;
    const auto write = Cli("params write " + WriteFile("backup.json", changed.dump()));
    ASSERT_EQ(write.status, 0) << write.out;
    const json after = json::parse(Cli("params read --json").out);
    EXPECT_EQ(after["tare"], 77);
    EXPECT_EQ(after["ropeCount"], 0);
    EXPECT_EQ(after["factor"], -5);
    EXPECT_EQ(after["sensorType"], 9);
    changed["factor"] = -4; // a change must still be in range
    EXPECT_EQ(Cli("params write " + WriteFile("changed.json", changed.dump())).status, 2);
}

TEST_F(ParamsCommandTest, FailedWriteNamesTheStepAndExitsThree) {
    WithDevice(1, [](sim::DeviceModel& d) { d.Config().faults.storeDiffersAt = 18; });
    auto result = Cli("params write " + WriteFile("f.json", R"({"tare": 10})"));
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.out.find("step 15"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("differs"), std::string::npos) << result.out;
    WithDevice(1, [](sim::DeviceModel& d) { EXPECT_EQ(d.Counters().confirmations, 0); });

    WithDevice(1, [](sim::DeviceModel& d) {
        d.Config().faults = {};
        d.Config().faults.wrongEcho = true;
    });
    EXPECT_EQ(Cli("params read").status, 3);
}

TEST_F(ParamsCommandTest, ImageBackupIsRestoredAndAcknowledged) {
    const std::string file = Root() + "/image.bin";
    auto read = Cli("image read " + file);
    ASSERT_EQ(read.status, 0) << read.out;
    const std::string saved = test::ReadFile(file);
    ASSERT_EQ(saved.size(), 8160u);
    EXPECT_EQ(std::memcmp(saved.data(), DeviceState().image.data(), saved.size()), 0);

    auto write = Cli("image write " + file);
    ASSERT_EQ(write.status, 0) << write.out;
    WithDevice(1, [](sim::DeviceModel& d) { EXPECT_EQ(d.Counters().imagesStored, 1); });

    auto wrongSize = Cli("image write " + WriteFile("short.bin", std::string(8159, 'x')));
    EXPECT_EQ(wrongSize.status, 2);
    EXPECT_NE(wrongSize.out.find("8160"), std::string::npos) << wrongSize.out;
}

TEST_F(ParamsCommandTest, AnInterruptedImageWriteIsFinishedAndTheNextOneVerified) {
    const std::string file = Root() + "/image.bin";
    std::string image(8160, '\0');
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 7 + 3);
    WriteFile("image.bin", image);
    const std::string pidFile = Root() + "/pid";
    // Job control, so the tool in the background takes SIGINT as it would from the terminal.
    FILE* tool = ::popen(("bash -c 'set -m; " + std::string(TENSIQ_CLI) + " --port 1 image write " +
                          file + " > " + Root() + "/out.txt 2>&1 & echo $! > " + pidFile +
                          "; wait $!; echo status=$?'")
                             .c_str(),
                         "r");
    ASSERT_NE(tool, nullptr);
    ASSERT_TRUE(test::Eventually([&] {
        int n = 0;
        WithDevice(1, [&](sim::DeviceModel& d) { n = d.Counters().imageBytesReceived; });
        return n > 1000;
    }));
    const int pid = std::stoi(test::ReadFile(pidFile));
    ::kill(pid, SIGINT); // Ctrl-C in the middle of the transfer
    char status[64] = {};
    const std::size_t got = std::fread(status, 1, sizeof status - 1, tool);
    ::pclose(tool);
    EXPECT_EQ(std::string(status, got), "status=130\n") << "the signal took effect afterwards";
    const std::string out = test::ReadFile(Root() + "/out.txt");
    EXPECT_NE(out.find("verified"), std::string::npos) << out;
    EXPECT_NE(out.find("Interrupted"), std::string::npos) << out;
    const auto stored = DeviceState().image;
    EXPECT_EQ(std::memcmp(stored.data(), image.data(), image.size()), 0) << "no spliced image";
    WithDevice(1, [](sim::DeviceModel& d) { EXPECT_EQ(d.Counters().imagesStored, 1); });

    auto next = Cli("image write " + file);
    EXPECT_EQ(next.status, 0) << next.out;
    EXPECT_NE(next.out.find("read back and verified"), std::string::npos) << next.out;
    EXPECT_EQ(Cli("version").status, 0) << "the device answers as usual";
}

TEST_F(ParamsCommandTest, AnImageStoredDifferentlyIsAFailureAndOddFilesAreRefused) {
    const std::string file = Root() + "/image.bin";
    ASSERT_EQ(Cli("image read " + file).status, 0);
    WithDevice(1, [](sim::DeviceModel& d) { d.Config().faults.imageDiffersAt = 4000; });
    const auto differs = Cli("image write " + file);
    EXPECT_EQ(differs.status, 3) << differs.out;
    EXPECT_NE(differs.out.find("differs from the one written, first at byte 4000"),
              std::string::npos)
        << differs.out;
    for (const std::string& path : {Root(), std::string("/dev/zero")}) {
        const auto refused = Cli("image write " + path);
        EXPECT_EQ(refused.status, 2) << path << ": " << refused.out;
    }
    WithDevice(1, [](sim::DeviceModel& d) { EXPECT_EQ(d.Counters().imagesStored, 1); });
}
