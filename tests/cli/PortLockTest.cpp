#include "DeviceLink.h"
#include "RunTool.h"
#include "SimulatorFixture.h"
#include "Unprivileged.h"

#include <filesystem>
#include <fstream>
#include <thread>

using namespace tensiq;
using namespace std::chrono_literals;

class PortLockTest : public test::SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        sim::DeviceConfig c = Device();
        c.frameRate = 200;
        sim->AddDevice(7, c);
        sim->Start();
        // The ordinary user reaches the ports and keeps its own profile.
        test::ShareFolder(Root());
        test::ShareFolder(sim->PortDir());
        test::SharePort(sim->LinkPath(7));
        std::filesystem::create_directories(Root() + "/config");
        test::ShareFolder(Root() + "/config", true);
        test::ShareFolder(Root() + "/data", true);
    }
    test::ToolResult Cli(const std::string& args, bool ordinaryUser = false) {
        return test::RunTool((ordinaryUser ? test::AsOrdinaryUser() : std::string()) + TENSIQ_CLI +
                             " " + args);
    }
    bool Streaming() {
        bool streaming = false;
        WithDevice(7, [&](sim::DeviceModel& d) { streaming = d.Streaming(); });
        return streaming;
    }
};

TEST_F(PortLockTest, AnOrdinaryUserOpensThePortAgainAndAgain) {
    for (int i = 0; i < 10; ++i) {
        const auto result = Cli("--port 7 version", true);
        ASSERT_EQ(result.status, 0) << "run " << i + 1 << ": " << result.out;
        EXPECT_NE(result.out.find("L 1.08"), std::string::npos) << result.out;
    }
}

TEST_F(PortLockTest, ASecondProgramOnTheSamePortIsRefusedForRootToo) {
    test::ToolResult first;
    std::thread recorder([&] { first = Cli("--port 7 record --seconds 3 --out /dev/null"); });
    ASSERT_TRUE(test::Eventually([&] { return Streaming(); }, 5s));
    for (const bool ordinaryUser : {false, true}) {
        const auto second = Cli("--port 7 version", ordinaryUser);
        EXPECT_EQ(second.status, 1) << second.out;
        EXPECT_NE(second.out.find("in use by another program"), std::string::npos) << second.out;
    }
    EXPECT_TRUE(Streaming()) << "the refused program did not disturb the running one";
    recorder.join();
    EXPECT_EQ(first.status, 0) << first.out;
    EXPECT_EQ(Cli("--port 7 version", true).status, 0) << "the port is free again";
}

TEST_F(PortLockTest, DiscoveryWhileAnotherProgramHoldsTheDeviceSaysSoAndKeepsTheProfile) {
    const std::string profile = Root() + "/config/Tensiq/Tensiq.conf";
    std::filesystem::create_directories(Root() + "/config/Tensiq");
    test::ShareFolder(Root() + "/config/Tensiq", true);
    { std::ofstream(profile) << "[Settings]\nLastTQFound=7\n"; }
    DeviceLink window; // holds the port as the window does during a run
    ASSERT_TRUE(window.Open(7));
    for (const bool ordinaryUser : {false, true}) {
        SCOPED_TRACE(ordinaryUser ? "ordinary user" : "root or the test's user");
        const auto result = Cli("discover --json", ordinaryUser);
        EXPECT_EQ(result.status, 1) << result.out;
        EXPECT_NE(result.out.find(sim->LinkPath(7) + " is in use by another program"),
                  std::string::npos)
            << result.out;
        EXPECT_NE(test::ReadFile(profile).find("LastTQFound=7"), std::string::npos)
            << test::ReadFile(profile);
    }
    window.Close();
    const auto free = Cli("discover --json");
    EXPECT_EQ(free.status, 0) << free.out;
}
