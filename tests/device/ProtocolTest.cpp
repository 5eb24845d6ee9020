#include "DeviceLink.h"
#include "SimulatorFixture.h"

using namespace tensiq;
using namespace std::chrono_literals;

class ProtocolTest : public test::SimulatorFixture {
protected:
    float VersionOf(const std::string& identification) {
        sim->AddDevice(1, Device(identification));
        sim->Start();
        DeviceLink link;
        EXPECT_TRUE(link.Open(1));
        link.QueryVersion();
        return link.FirmwareVersion();
    }
};

TEST_F(ProtocolTest, VersionIsParsedFromAnLReply) {
    EXPECT_FLOAT_EQ(VersionOf("L 1.08"), 1.08f);
}

TEST_F(ProtocolTest, VersionOfOtherRepliesIsZero) {
    sim->AddDevice(2, Device("L ABCD"));
    sim->AddDevice(3, Device("V 1.03"));
    sim->AddDevice(4, Device("LC1.10"));
    EXPECT_FLOAT_EQ(VersionOf("M 1.08"), 0.0f);
    for (int port : {2, 3, 4}) {
        DeviceLink link;
        ASSERT_TRUE(link.Open(port));
        link.QueryVersion();
        EXPECT_FLOAT_EQ(link.FirmwareVersion(), 0.0f) << port;
        EXPECT_FALSE(link.VersionReply().empty());
    }
}

TEST_F(ProtocolTest, StreamIsStartedAndStopped) {
    sim->AddDevice(1);
    sim->Start();
    DeviceLink link;
    EXPECT_FALSE(link.StartStreaming()) << "closed port";
    EXPECT_FALSE(link.StopStreaming());
    ASSERT_TRUE(link.Open(1));
    ASSERT_TRUE(link.StartStreaming());
    EXPECT_TRUE(test::Eventually([&] { return link.BytesWaiting() >= 40; }));
    ASSERT_TRUE(link.StopStreaming());
    EXPECT_TRUE(test::Eventually([&] {
        bool streaming = true;
        WithDevice(1, [&](sim::DeviceModel& d) { streaming = d.Streaming(); });
        return !streaming;
    }));
    EXPECT_TRUE(link.SilenceWait());
    WithDevice(1, [](sim::DeviceModel& d) { EXPECT_EQ(d.Counters().streamStarts, 1); });
}

TEST_F(ProtocolTest, SilenceWaitFailsWhileTheDeviceKeepsSending) {
    sim::DeviceConfig stuck = Device("L 1.05");
    stuck.faults.neverSilent = true;
    sim->AddDevice(1, stuck);
    sim->Start();
    DeviceLink link;
    ASSERT_TRUE(link.Open(1));
    ASSERT_TRUE(link.StartStreaming());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.SilenceWait());
    EXPECT_GE(std::chrono::steady_clock::now() - start, 950ms) << "twenty pauses of 50 ms";
    link.QueryVersion();
    EXPECT_FLOAT_EQ(link.FirmwareVersion(), 0.0f) << "no answer: the version stays as it was";
    EXPECT_TRUE(link.VersionReply().empty());
}

TEST_F(ProtocolTest, WaitsGiveUpAfterTwentyPauses) {
    sim->AddSilent(1);
    sim->Start();
    DeviceLink link;
    ASSERT_TRUE(link.Open(1));
    std::uint8_t byte = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.ByteWait(byte));
    EXPECT_FALSE(link.QueueWait(1));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 1900ms);
    EXPECT_LT(took, 4000ms);
    EXPECT_TRUE(link.SilenceWait()) << "a silent line passes at once";
}
