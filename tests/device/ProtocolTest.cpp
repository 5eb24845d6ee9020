#include "DeviceLink.h"
#include "GermanNumbers.h"
#include "PseudoTerminalPair.h"
#include "SimulatorFixture.h"
#include "VersionReply.h"

#include <fcntl.h>
#include <functional>
#include <unistd.h>

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
    sim::DeviceConfig stuck = Device("L 1.08");
    sim->AddDevice(1, stuck);
    sim->Start();
    DeviceLink link;
    ASSERT_TRUE(link.Open(1));
    link.QueryVersion();
    ASSERT_FLOAT_EQ(link.FirmwareVersion(), 1.08f);
    WithDevice(1, [](sim::DeviceModel& d) { d.Config().faults.neverSilent = true; });
    ASSERT_TRUE(link.StartStreaming());
    const auto before = PausesOnThisThread();
    EXPECT_FALSE(link.SilenceWait());
    EXPECT_EQ(PausesOnThisThread() - before, 20u);
    link.QueryVersion();
    EXPECT_FLOAT_EQ(link.FirmwareVersion(), 1.08f) << "no answer: the version stays as it was";
}

// A line whose far end the test drives byte by byte, at chosen pauses of the waiting rules.
class WaitingRuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.IsOpen());
        m_master = m_pty.Master();
        ASSERT_TRUE(link.OpenDevice(m_pty.SlavePath()));
    }
    void TearDown() override {
        ObservePausesOnThisThread({});
        link.Close();
        m_pty.Close();
    }
    // Sends bytes from the device and waits until they are queued at the program's end.
    void DeviceSends(int count) {
        const int queued = link.BytesWaiting();
        const std::string bytes(static_cast<std::size_t>(count), 'x');
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), count);
        ASSERT_TRUE(test::Eventually([&] { return link.BytesWaiting() >= queued + count; }));
    }
    // At pause n (from 1), the device sends what bytes(n) says.
    void AtPauses(std::function<int(int)> bytes) {
        ObservePausesOnThisThread([this, bytes, n = 0](int) mutable {
            if (const int count = bytes(++n); count > 0)
                DeviceSends(count);
        });
    }
    template <typename Wait> std::pair<bool, std::uint64_t> Counted(Wait wait) {
        const auto before = PausesOnThisThread();
        const bool ok = wait();
        return {ok, PausesOnThisThread() - before};
    }

    DeviceLink link;

private:
    test::PseudoTerminalPair m_pty;
    int m_master = -1;
};

TEST_F(WaitingRuleTest, SilenceWaitAllowsNineteenPausesOfTraffic) {
    for (const int lastBusyPause : {18, 19}) {
        SCOPED_TRACE(lastBusyPause);
        DeviceSends(1);
        AtPauses([=](int n) { return n <= lastBusyPause ? 1 : 0; });
        const auto [ok, pauses] = Counted([&] { return link.SilenceWait(); });
        // Silent after 18 busy pauses: the 19th read is empty. After 19: the 20th fails.
        EXPECT_EQ(ok, lastBusyPause == 18);
        EXPECT_EQ(pauses, static_cast<std::uint64_t>(lastBusyPause + 1));
        link.Drain();
    }
    ObservePausesOnThisThread({});
    EXPECT_EQ(Counted([&] { return link.SilenceWait(); }), std::make_pair(true, std::uint64_t{0}))
        << "a silent line passes at once";
}

TEST_F(WaitingRuleTest, ByteAndQueueWaitsFailAtTheTwentiethPauseEvenIfTheBytesCame) {
    std::uint8_t byte = 0;
    for (const int arrival : {19, 20, 0}) {
        SCOPED_TRACE(arrival);
        AtPauses([=](int n) { return n == arrival ? 1 : 0; });
        EXPECT_EQ(Counted([&] { return link.ByteWait(byte); }),
                  std::make_pair(arrival == 19, std::uint64_t(arrival == 19 ? 19 : 20)));
        link.Drain();
        AtPauses([=](int n) { return n == arrival ? 2 : 0; });
        EXPECT_EQ(Counted([&] { return link.QueueWait(2); }),
                  std::make_pair(arrival == 19, std::uint64_t(arrival == 19 ? 19 : 20)));
        link.Drain();
    }
    ObservePausesOnThisThread({});
    DeviceSends(2);
    EXPECT_EQ(Counted([&] { return link.QueueWait(2); }), std::make_pair(true, std::uint64_t{0}));
    EXPECT_EQ(Counted([&] { return link.ByteWait(byte); }), std::make_pair(true, std::uint64_t{0}));
}
