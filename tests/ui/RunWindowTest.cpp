#include "RunWindowFixture.h"

#include "MeasurementScale.h"
#include "WeightUnit.h"

#include <gtest/gtest.h>

using namespace tensiq;
using namespace tensiq::test;

namespace {

std::string ExpectedLine(const std::vector<int>& loads) {
    std::string line;
    for (int k = 0; k < kRopes; ++k)
        line += std::to_string(k < static_cast<int>(loads.size()) ? loads[k] : 0) + ";";
    return line;
}

class RunWindow : public RunWindowFixture {};

} // namespace

TEST_F(RunWindow, StartFramesStopLeavesARecordAndASilentDevice) {
    auto& device = sim->AddDevice(3, SteadyDevice({100, 200, 300, 400}, 4, 2));
    Open();
    dlg->m_readButton.setEnabled(true);
    dlg->m_writeButton.setEnabled(true);

    dlg->m_startStopButton.click();
    ExpectState(State::Measuring);
    EXPECT_EQ(dlg->m_comPort, 3);
    EXPECT_EQ(dlg->m_parametersRead, 1);
    AwaitFrames();
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_bars[3].GetPos() == 800; }));
    EXPECT_EQ(dlg->m_bars[0].GetPos(), 200);
    EXPECT_EQ(dlg->m_totalLabel.GetCaption(),
              Localised(res::kStrTotal) + QStringLiteral(": 2000 kg"));
    const long before = dlg->Acquisition()->FrameCount();
    ASSERT_TRUE(PumpUntil([&] { return dlg->Acquisition()->FrameCount() >= before + 20; }));
    const int quietBefore = device.Counters().quietCommands;

    dlg->m_startStopButton.click();
    ExpectState(State::Idle);
    // The thread was out of the link before X went out: the stream has ended for good.
    EXPECT_TRUE(Eventually([&] { return device.Counters().quietCommands == quietBefore + 1; }))
        << device.Counters().quietCommands << " vs " << quietBefore;
    EXPECT_TRUE(Eventually([&] { return !device.Streaming(); }));
    const long frames = dlg->Acquisition()->FrameCount();
    Pump(100);
    EXPECT_EQ(dlg->Acquisition()->FrameCount(), frames) << "no frame after the stop";

    const auto lines = RecordLines();
    ASSERT_GE(lines.size(), 21u);
    EXPECT_FALSE(lines[0].empty());
    EXPECT_EQ(lines[0].find(';'), std::string::npos) << "the first line is the date";
    EXPECT_EQ(static_cast<long>(lines.size()) - 1, frames) << "one line per frame of the run";
    for (std::size_t i = 1; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], ExpectedLine({200, 400, 600, 800})) << "line " << i;
}

TEST_F(RunWindow, StartSetsTheScaleFromFactorAndUnit) {
    sim->AddDevice(2, SteadyDevice({10}, 1, 5));
    Open();
    dlg->SetWeightUnit(Pound);
    dlg->OnStartStop();
    ASSERT_EQ(dlg->m_measuring, 1);
    int lower = -1, upper = -1;
    for (auto& bar : dlg->m_bars) {
        bar.GetRange(lower, upper);
        EXPECT_EQ(lower, 0);
        EXPECT_EQ(upper, 11024);
    }
    for (int s = 0; s < kRopes; ++s)
        EXPECT_EQ(dlg->m_chart.GetSeries(s).fullScale, 11024u);
    dlg->OnStartStop();

    // Factor 127 in lbs: 280012, more than the bars' 16 bits hold.
    sim->With<sim::DeviceModel>(2, [](sim::DeviceModel& d) { d.Config().block[19] = 127; });
    dlg->OnStartStop();
    ASSERT_EQ(dlg->m_measuring, 1);
    dlg->m_bars[0].GetRange(lower, upper);
    EXPECT_EQ(upper, 280012 & 0xFFFF);
    EXPECT_EQ(dlg->m_chart.GetSeries(0).fullScale, 280012u);
    dlg->OnStartStop();
}

TEST_F(RunWindow, NoDeviceOrNoBlockShowsTheStartCaptionsAndForgetsThePort) {
    Open();
    dlg->OnStartStop();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              Localised(res::kStrNoConnection) + "\n\n" + Localised(res::kStrNoConnectionHint));
    EXPECT_EQ(boxes[0].caption, Localised(res::kStrError));
    EXPECT_EQ(boxes[0].type, MB_OK | MB_ICONHAND);
    EXPECT_EQ(dlg->m_measuring, 0);
    EXPECT_EQ(dlg->m_comPort, -1);
    EXPECT_EQ(dlg->Context().runFlag.load(), 0);

    // A device whose block does not come: the read's message, the port let go and forgotten.
    sim::DeviceConfig broken = SteadyDevice({1}, 2);
    broken.faults.wrongEcho = true;
    sim->AddDevice(4, broken);
    boxes.clear();
    dlg->OnStartStop();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Localised(res::kStrReadFailed));
    EXPECT_EQ(boxes[0].caption, Localised(res::kStrError));
    EXPECT_EQ(dlg->m_comPort, -1);
    EXPECT_FALSE(dlg->Link().IsOpen());
    EXPECT_EQ(dlg->m_measuring, 0);
    EXPECT_EQ(dlg->m_startStopButton.GetWindowText(), Localised(res::kStrStart));
}

TEST_F(RunWindow, UnpluggedMidRunEndsTheRunKeepsTheRecordAndIsFoundAgainElsewhere) {
    sim::DeviceConfig c = SteadyDevice({100, 200}, 2);
    c.faults.hangUpAfterFrames = 60;
    sim->AddDevice(3, c);
    Open();
    dlg->OnStartStop();
    ASSERT_EQ(dlg->m_measuring, 1);
    AwaitFrames();
    ASSERT_TRUE(PumpUntil([&] { return !boxes.empty(); })) << "the run never ended";
    ASSERT_EQ(boxes.size(), 1u) << BoxTexts();
    // A line lost during a run: the device was there, so no hint on setting it up.
    EXPECT_EQ(boxes[0].text, Localised(res::kStrNoConnection));
    EXPECT_EQ(boxes[0].caption, Localised(res::kStrError));
    ExpectState(State::Idle);
    EXPECT_EQ(dlg->m_comPort, -1);

    const long frames = dlg->Acquisition()->FrameCount();
    EXPECT_GT(frames, 0);
    EXPECT_LE(frames, 60);
    const auto lines = RecordLines();
    ASSERT_EQ(static_cast<long>(lines.size()) - 1, frames) << "every frame that came is kept";
    for (std::size_t i = 1; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], ExpectedLine({100, 200})) << "line " << i;

    // Plugged in again, under another name: "Start" finds it there.
    sim->AddDevice(7, SteadyDevice({100, 200}, 2));
    boxes.clear();
    dlg->OnStartStop();
    EXPECT_TRUE(boxes.empty()) << BoxTexts();
    EXPECT_EQ(dlg->m_comPort, 7);
    ExpectState(State::Measuring);
    AwaitFrames(5);
    dlg->OnStartStop();
    ExpectState(State::Idle);
}

TEST_F(RunWindow, UnpluggedDuringTheAssistantEndsIt) {
    sim::DeviceConfig c = SteadyDevice({100, 200}, 2);
    c.faults.hangUpAfterFrames = 60;
    sim->AddDevice(3, c);
    Open();
    dlg->OnAssistant();
    ASSERT_EQ(dlg->Context().assistantActive.load(), 1);
    AwaitFrames();
    ASSERT_TRUE(PumpUntil([&] { return boxes.size() == 2; })) << BoxTexts();
    // A line lost during a run: the device was there, so no hint on setting it up.
    EXPECT_EQ(boxes[1].text, Localised(res::kStrNoConnection));
    ExpectState(State::Idle);
    EXPECT_EQ(dlg->m_currentRope, -1);
    EXPECT_EQ(dlg->m_comPort, -1);
    for (auto& bar : dlg->m_bars)
        EXPECT_FALSE(bar.m_targetEnabled);
}
