#include "DeviceLink.h"
#include "Profile.h"
#include "SimulatorFixture.h"

using namespace tensiq;

class DiscoveryTest : public test::SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        g_ropeDifferenceVariant = 0;
    }
    int IdentifyRequests(int port) {
        int n = 0;
        WithDevice(port, [&](sim::DeviceModel& d) { n = d.Counters().identifyRequests; });
        return n;
    }
    MemoryProfile profile;
    DeviceLink link{&profile};
};

TEST_F(DiscoveryTest, RememberedPortIsAcceptedWithOneProbe) {
    sim->AddDevice(2, Device("V 1.03"));
    sim->AddDevice(5);
    sim->Start();
    profile.WriteInt("Settings", "LastTQFound", 5);
    const int writes = profile.Writes();
    EXPECT_EQ(link.DiscoverPort(-1), 5);
    EXPECT_EQ(IdentifyRequests(5), 1);
    EXPECT_EQ(IdentifyRequests(2), 0) << "no scan after the remembered port answered";
    EXPECT_EQ(profile.Writes(), writes) << "the profile is not rewritten";
    EXPECT_EQ(link.DiscoveredIdentification(), "L 1.08");
}

TEST_F(DiscoveryTest, StaleRememberedPortIsProbedTwiceAndTheNewPortStored) {
    sim::DeviceConfig other = Device("V 1.04"); // something else answers there now
    sim->AddDevice(3, other);
    sim->AddSilent(4);
    sim->AddDevice(6);
    sim->Start();
    profile.WriteInt("Settings", "LastTQFound", 3);
    EXPECT_EQ(link.DiscoverPort(-1), 6);
    EXPECT_EQ(IdentifyRequests(3), 2);
    EXPECT_EQ(profile.GetInt("Settings", "LastTQFound", 0), 6);
}

TEST_F(DiscoveryTest, NoRememberedPortScansFromPortOneAndSkipsThePortToSkip) {
    sim->AddDevice(1);
    sim->AddDevice(2, Device("V 0.94"));
    sim->Start();
    EXPECT_EQ(link.DiscoverPort(-1), 1) << "port 2 accepts too, but the lowest wins";
    EXPECT_EQ(profile.GetInt("Settings", "LastTQFound", 0), 1);
    EXPECT_EQ(link.DiscoverPort(1), 2);
    EXPECT_EQ(profile.GetInt("Settings", "LastTQFound", 0), 2);
}

TEST_F(DiscoveryTest, NoDeviceAnywhereStoresMinusOne) {
    sim->AddSilent(1);
    sim->AddNoise(2);
    sim->AddDevice(3, Device("V 1.04"));
    sim->Start();
    profile.WriteInt("Settings", "LastTQFound", 2);
    EXPECT_EQ(link.DiscoverPort(-1), -1);
    EXPECT_EQ(profile.GetInt("Settings", "LastTQFound", 0), -1);
    EXPECT_EQ(IdentifyRequests(3), 1);
}

TEST_F(DiscoveryTest, StreamingDeviceIsQuietenedAndIdentified) {
    sim::DeviceConfig streaming = Device();
    streaming.frameRate = 200;
    sim->AddDevice(1, streaming);
    sim->Start();
    {
        DeviceLink starter;
        ASSERT_TRUE(starter.Open(1));
        ASSERT_TRUE(starter.StartStreaming());
    } // closed with the device still streaming
    WithDevice(1, [](sim::DeviceModel& d) { EXPECT_TRUE(d.Streaming()); });
    EXPECT_EQ(link.DiscoverPort(-1), 1);
    WithDevice(1, [](sim::DeviceModel& d) {
        EXPECT_FALSE(d.Streaming());
        EXPECT_GE(d.Counters().quietCommands, 2);
    });
}

TEST_F(DiscoveryTest, IdentificationsDecideAcceptance) {
    struct Case {
        const char* id;
        bool accepted;
    };
    for (const Case& c :
         {Case{"V 1.08", true}, Case{"V 0.01", true}, Case{"M 3.00", true}, Case{"L", true},
          Case{"V 1.04", false}, Case{"v 1.03", false}, Case{"X 1.03", false}})
        EXPECT_EQ(DeviceLink::IsKnownIdentification(c.id), c.accepted) << c.id;

    sim->AddDevice(1, Device("V 1.04"));
    sim::DeviceConfig shortReply = Device("V 1.03");
    shortReply.faults.shortIdentification = true;
    sim->AddDevice(2, shortReply);
    sim->AddDevice(3, Device("LC1.10"));
    sim->Start();
    EXPECT_EQ(link.DiscoverPort(-1), 3);
    EXPECT_EQ(IdentifyRequests(1), 1);
    EXPECT_EQ(IdentifyRequests(2), 1);
    EXPECT_EQ(g_ropeDifferenceVariant, 1) << "second letter C marks the variant";
}

TEST_F(DiscoveryTest, LowerCaseVariantLetterAndPlainDeviceFlags) {
    sim->AddDevice(1, Device("Mc1.00"));
    sim->Start();
    EXPECT_EQ(link.DiscoverPort(-1), 1);
    EXPECT_EQ(g_ropeDifferenceVariant, 1);
    g_ropeDifferenceVariant = 0;
    DeviceLink::ApplyReplyLetters("L 1.08");
    EXPECT_EQ(g_ropeDifferenceVariant, 0);
}

namespace {

// A device that takes its time over the identification, still within the probe's wait.
class SlowToIdentify : public sim::PortRole {
public:
    void OnInput(const std::uint8_t* data, std::size_t count, sim::Output&) override {
        for (std::size_t i = 0; i < count; ++i)
            if (data[i] == 'V')
                m_due = sim::Clock::now() + std::chrono::milliseconds(250);
    }
    void OnTime(sim::Clock::time_point, sim::Output& out) override {
        out.Send(reinterpret_cast<const std::uint8_t*>("L 1.08"), 6);
        m_due.reset();
    }
    std::optional<sim::Clock::time_point> NextDue() const override { return m_due; }

private:
    std::optional<sim::Clock::time_point> m_due;
};

} // namespace

TEST_F(DiscoveryTest, TheLowestAcceptingPortWinsEvenWhenAHigherOneAnswersFirst) {
    sim->AddSilent(1);
    sim->AddRole(2, std::make_unique<SlowToIdentify>());
    sim->AddDevice(3, Device("LC1.10"));
    sim->Start();
    EXPECT_EQ(link.DiscoverPort(-1), 2);
    EXPECT_EQ(link.DiscoveredIdentification(), "L 1.08");
    EXPECT_EQ(g_ropeDifferenceVariant, 0) << "only the accepted reply's letters count";
    EXPECT_EQ(profile.GetInt("Settings", "LastTQFound", 0), 2);
}
