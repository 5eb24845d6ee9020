#include "RunTool.h"
#include "SimulatorFixture.h"
#include "Unprivileged.h"

#include <nlohmann/json.hpp>

#include <filesystem>

using namespace tensiq;

namespace {

class DiscoverCommandTest : public test::SimulatorFixture {
protected:
    test::ToolResult Cli(const std::string& args) {
        return test::RunTool(std::string(TENSIQ_CLI) + " " + args);
    }
    std::string ProfileText() { return test::ReadFile(Root() + "/config/Tensiq/Tensiq.conf"); }
    int IdentifyRequests(int port) {
        int n = 0;
        WithDevice(port, [&](sim::DeviceModel& d) { n = d.Counters().identifyRequests; });
        return n;
    }
};

} // namespace

TEST_F(DiscoverCommandTest, FindsTheDeviceBehindSilentAndNoisyPortsAndRemembersIt) {
    for (int port : {1, 2, 3})
        sim->AddSilent(port);
    for (int port : {4, 5, 6})
        sim->AddNoise(port);
    sim->AddDevice(7);
    sim->Start();

    auto first = Cli("discover --json");
    ASSERT_EQ(first.status, 0) << first.out;
    const auto json = nlohmann::json::parse(first.out);
    EXPECT_EQ(json["port"], 7);
    EXPECT_EQ(json["device"], sim->LinkPath(7));
    EXPECT_EQ(json["identification"], "L 1.08");
    EXPECT_EQ(json["ropeDifferenceVariant"], false);
    EXPECT_NE(ProfileText().find("LastTQFound=7"), std::string::npos) << ProfileText();
    EXPECT_EQ(IdentifyRequests(7), 1);

    auto second = Cli("discover");
    ASSERT_EQ(second.status, 0) << second.out;
    EXPECT_NE(second.out.find("COM7"), std::string::npos);
    EXPECT_EQ(IdentifyRequests(7), 2) << "the remembered port answers the first probe";
}

TEST_F(DiscoverCommandTest, NoDeviceAnywhereExitsOneAndForgetsThePort) {
    sim->AddSilent(1);
    sim->AddNoise(2);
    sim->Start();
    auto result = Cli("discover --json");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("No device answers"), std::string::npos) << result.out;
    EXPECT_NE(ProfileText().find("LastTQFound=-1"), std::string::npos) << ProfileText();
}

TEST_F(DiscoverCommandTest, GivenPortIsProbedAndVersionRead) {
    sim->AddDevice(3, Device("LC1.10"));
    sim->AddSilent(4);
    sim->Start();
    auto byNumber = Cli("--port 3 discover --json");
    ASSERT_EQ(byNumber.status, 0) << byNumber.out;
    EXPECT_EQ(nlohmann::json::parse(byNumber.out)["ropeDifferenceVariant"], true);

    auto byPath = Cli("--port " + sim->LinkPath(3) + " version --json");
    ASSERT_EQ(byPath.status, 0) << byPath.out;
    const auto json = nlohmann::json::parse(byPath.out);
    EXPECT_EQ(json["identification"], "LC1.10");
    EXPECT_EQ(json["firmwareVersion"], 0.0) << "LC1.10 does not parse as \"L %f\"";

    EXPECT_EQ(Cli("--port 4 discover").status, 1);
    auto missing = Cli("--port 9 version");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("no such device"), std::string::npos) << missing.out;
}

TEST_F(DiscoverCommandTest, AGivenPortMustHoldTheDevice) {
    sim->AddDevice(3);
    sim->AddNoise(4);
    sim->AddSilent(5);
    sim->Start();
    const auto com = Cli("--port COM3 version");
    ASSERT_EQ(com.status, 0) << com.out;
    EXPECT_NE(com.out.find("Firmware version: 1.08"), std::string::npos) << com.out;
    EXPECT_EQ(Cli("--port com3 discover").status, 0);
    EXPECT_EQ(Cli("--port COM256 version").status, 1);
    for (const int port : {4, 5}) {
        const std::string file = Root() + "/image" + std::to_string(port) + ".bin";
        for (const std::string& command :
             {"image read " + file, std::string("version"), std::string("params read --json")}) {
            const auto result = Cli("--port " + std::to_string(port) + " " + command);
            EXPECT_EQ(result.status, 1) << command << ": " << result.out;
            EXPECT_NE(result.out.find("No device answers at"), std::string::npos) << result.out;
        }
        EXPECT_FALSE(std::filesystem::exists(file)) << "nothing saved from a port without device";
    }
}

TEST_F(DiscoverCommandTest, NumbersKeepTheirPointUnderAGermanLocale) {
    sim->AddDevice(3);
    sim->Start();
    const auto result =
        test::RunTool("LC_ALL=de_DE.UTF-8 " + std::string(TENSIQ_CLI) + " --port 3 version --json");
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_EQ(nlohmann::json::parse(result.out)["firmwareVersion"], 1.08);
    const auto record = test::RunTool("LC_ALL=de_DE.UTF-8 " + std::string(TENSIQ_CLI) +
                                      " --port 3 record --seconds 0.5 --out /dev/null");
    EXPECT_EQ(record.status, 0) << "0.5 is half a second, not refused: " << record.out;
}

TEST_F(DiscoverCommandTest, PortsTheUserMayNotOpenAreNamedAsTheReason) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a port that the ordinary user cannot open";
    sim->AddDevice(2); // not shared: the ordinary user is not in its group
    sim->Start();
    test::ShareFolder(Root());
    test::ShareFolder(sim->PortDir());
    std::filesystem::create_directories(Root() + "/config");
    test::ShareFolder(Root() + "/config", true);
    const auto result = test::RunTool(test::AsOrdinaryUser() + TENSIQ_CLI + " discover");
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_NE(result.out.find("permission denied: add the user to the dialout group"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(sim->LinkPath(2)), std::string::npos) << result.out;
}
