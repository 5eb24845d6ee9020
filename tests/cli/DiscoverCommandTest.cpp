#include "RunTool.h"
#include "SimulatorFixture.h"

#include <nlohmann/json.hpp>

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
