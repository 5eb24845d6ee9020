// The window against a simulated device: a run fed by the acquisition thread moves the
// displays, and closing during a run ends the thread and leaves a complete record, with no
// command sent to the device on the way out.

#include "CountingWindowSink.h"
#include "RopeLoadDlg.h"
#include "RopeLoadDlgProbe.h"
#include "RunTool.h"
#include "SimulatorFixture.h"
#include "UiTestSupport.h"
#include "UserDataFolder.h"
#include "WindowSink.h"

#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

using namespace tensiq;

namespace {

constexpr int kDevicePort = 5;

class WindowWithDevice : public test::SimulatorFixture {
protected:
    void StartDevice(double frameRate) {
        sim::DeviceConfig config = Device();
        config.frameRate = frameRate;
        sim->AddDevice(kDevicePort, config);
        sim->Start();
    }
    struct DeviceState {
        int quietCommands = 0;
        int streamStarts = 0;
        bool streaming = false;
    };
    DeviceState State() {
        DeviceState state;
        WithDevice(kDevicePort, [&](sim::DeviceModel& d) {
            state = {d.Counters().quietCommands, d.Counters().streamStarts, d.Streaming()};
        });
        return state;
    }
};

// As a run starts: the block read from the device gives the factor.
void ReadBlock(test::RopeLoadDlgProbe& dlg) {
    ParameterBlock block;
    ASSERT_TRUE(dlg.m_link.ReadParameters(block));
    dlg.SetStoredBlock(block);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST_F(WindowWithDevice, ARunMovesTheBarsAndTheTotal) {
    StartDevice(200);
    test::RopeLoadDlgProbe dlg;
    test::CountingWindowSink* sink = nullptr;
    dlg.SetSinkFactory(test::CountingWindowSink::Into(&sink));
    ASSERT_TRUE(dlg.Create());
    dlg.show();
    ASSERT_NE(sink, nullptr);
    const QString opening = dlg.m_totalLabel.GetCaption();
    ASSERT_TRUE(dlg.m_link.Open(kDevicePort));
    ReadBlock(dlg);
    dlg.Acquisition()->StartRun();
    ASSERT_TRUE(test::PumpUntil([&] {
        for (const CRopeBarCtrl& bar : dlg.m_bars)
            if (bar.GetPos() == 0)
                return false;
        return dlg.m_totalLabel.GetCaption() != opening && sink->Stats().chartSamplesDrawn > 0;
    })) << dlg.Acquisition()->FrameCount()
        << " frames, " << sink->Stats().applies << " applies, bar 1 at " << dlg.m_bars[0].GetPos()
        << ", " << dlg.m_totalLabel.GetCaption().toStdString();
    // The device's readings near 500 on every rope, factor 1, kilograms.
    for (const CRopeBarCtrl& bar : dlg.m_bars) {
        EXPECT_GT(bar.GetPos(), 400);
        EXPECT_LT(bar.GetPos(), 600);
    }
    EXPECT_TRUE(dlg.m_totalLabel.GetCaption().endsWith(QStringLiteral(" kg")));
    dlg.Acquisition()->StopRun();
}

TEST_F(WindowWithDevice, ClosingDuringARunJoinsTheThreadAndLeavesACompleteRecord) {
    StartDevice(400);
    auto dlg = std::make_unique<test::RopeLoadDlgProbe>();
    ASSERT_TRUE(dlg->Create());
    dlg->show();
    ASSERT_TRUE(dlg->m_link.Open(kDevicePort));
    ReadBlock(*dlg);
    dlg->Acquisition()->StartRun();
    ASSERT_TRUE(test::PumpUntil([&] { return dlg->Acquisition()->FrameCount() >= 150; }, 5000));
    const DeviceState before = State();
    ASSERT_TRUE(before.streaming);

    dlg->m_quitButton.click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->Acquisition(), nullptr); // stopped and joined
    EXPECT_FALSE(dlg->m_link.IsOpen());
    dlg.reset();

    const std::vector<std::string> lines = Lines(test::ReadFile(UserDataFile("temp.txt")));
    ASSERT_GE(lines.size(), 151u);
    EXPECT_FALSE(lines[0].empty()); // the date line
    const std::regex loads("^([0-9]+;){12}$");
    for (std::size_t i = 1; i < lines.size(); ++i)
        ASSERT_TRUE(std::regex_match(lines[i], loads)) << "line " << i << ": " << lines[i];
    EXPECT_EQ(test::ReadFile(UserDataFile("temp.txt")).back(), '\n');

    // Nothing was sent on the way out: the device still streams, unquietened.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const DeviceState after = State();
    EXPECT_EQ(after.quietCommands, before.quietCommands);
    EXPECT_EQ(after.streamStarts, before.streamStarts);
    EXPECT_TRUE(after.streaming);
}
