#include "DeviceLink.h"
#include "GermanNumbers.h"
#include "SimulatorFixture.h"
#include "VersionReply.h"

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

TEST_F(ProtocolTest, VersionIsParsedFromAnLReplyUnderAGermanNumericLocale) {
    test::GermanNumbers german;
    ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 is missing; scripts/setup generates it";
    EXPECT_FLOAT_EQ(VersionOf("L 1.08"), 1.08f);
}

TEST(VersionReply, ReadsLikeLFormatWithAPoint) {
    test::GermanNumbers german;
    ASSERT_TRUE(german.Active());
    struct Case {
        const char* reply;
        bool parsed;
        float version;
    };
    for (const Case& c :
         {Case{"L 1.08", true, 1.08f}, Case{"L1.1", true, 1.1f}, Case{"L  +2.5", true, 2.5f},
          Case{"L -0.5", true, -0.5f}, Case{"L 7", true, 7.0f}, Case{"L 1,08", true, 1.0f},
          Case{"L ABCD", false, 0}, Case{"LC1.10", false, 0}, Case{"M 1.08", false, 0},
          Case{"l 1.08", false, 0}, Case{"L ", false, 0}, Case{"", false, 0}}) {
        float version = -99.0f;
        EXPECT_EQ(ParseVersionReply(c.reply, version), c.parsed) << c.reply;
        if (c.parsed)
            EXPECT_FLOAT_EQ(version, c.version) << c.reply;
        else
            EXPECT_FLOAT_EQ(version, -99.0f) << "left alone: " << c.reply;
    }
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
