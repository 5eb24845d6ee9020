#include "AssistantTargets.h"
#include "RunWindowFixture.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace tensiq;
using namespace tensiq::test;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLightYellow = RGB(255, 255, 128);

class AssistantWindow : public RunWindowFixture {
protected:
    // The colour in the middle of the bar's filled part, just above its bottom.
    QColor FilledColour(int rope) {
        const QImage image = Grab(dlg->m_bars[rope]);
        return image.pixelColor(image.width() / 2, image.height() - 6);
    }
    static bool Green(const QColor& c) { return c.green() > 120 && c.red() < 60 && c.blue() < 60; }
    static bool Red(const QColor& c) { return c.red() > 120 && c.green() < 60 && c.blue() < 60; }

    // The device on port reads value on rope from now on; true once its bar shows it.
    [[nodiscard]] bool ShowReading(int port, int rope, std::int16_t value) {
        sim->With<sim::DeviceModel>(
            port, [&](sim::DeviceModel& d) { d.Config().readings[rope] = value; });
        return PumpUntil([&] { return dlg->m_bars[rope].ShownValue() == value; });
    }
};

} // namespace

TEST_F(AssistantWindow, WarningTargetsMarkerNextRopeAndEnd) {
    auto& device = sim->AddDevice(3, SteadyDevice({100, 110, 90}, 3));
    Open();
    MeasureOnce({100, 110, 90});

    boxes.clear();
    dlg->m_assistantButton.click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Localised(res::kStrAssistantWarning));
    EXPECT_EQ(boxes[0].caption, Localised(res::kStrNotice));
    EXPECT_EQ(boxes[0].type, 0x31u);
    ExpectState(State::Assistant);
    EXPECT_EQ(dlg->m_parametersRead, 1);
    AwaitFrames();

    // Targets from the positions of the stopped run; rope 1 is nearest the mean.
    EXPECT_EQ(dlg->m_referenceRope, 0);
    EXPECT_EQ(dlg->m_targets[0], 100);
    EXPECT_EQ(dlg->m_targets[1], 103);
    EXPECT_EQ(dlg->m_targets[2], 96);
    EXPECT_EQ(dlg->m_currentRope, 1);
    EXPECT_TRUE(dlg->m_bars[1].m_targetEnabled);
    EXPECT_EQ(dlg->m_bars[1].m_target, 103);
    EXPECT_EQ(dlg->m_bars[1].m_bkColor, kLightYellow);
    for (auto& bar : dlg->m_bars) {
        EXPECT_EQ(bar.m_margins.left, 5);
        EXPECT_EQ(bar.m_margins.top, 3);
        EXPECT_EQ(bar.m_margins.right, 5);
        EXPECT_EQ(bar.m_margins.bottom, 3);
    }
    EXPECT_TRUE(dlg->TimerRunning(kMarkerTimer));

    // The tick moves the marker to the reference rope's live load: 110 against 100 is red.
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_bars[1].GetPos() == 110; }));
    dlg->Tick(kMarkerTimer);
    EXPECT_EQ(dlg->m_bars[1].m_target, 100);
    EXPECT_TRUE(Red(FilledColour(1))) << FilledColour(1).name().toStdString();
    // The technician slackens rope 2 to 102, within 2 % of 100: green.
    ASSERT_TRUE(ShowReading(3, 1, 102));
    dlg->Tick(kMarkerTimer);
    EXPECT_TRUE(Green(FilledColour(1))) << FilledColour(1).name().toStdString();
    // The marker follows the reference rope as it changes too.
    ASSERT_TRUE(ShowReading(3, 0, 120));
    dlg->Tick(kMarkerTimer);
    EXPECT_EQ(dlg->m_bars[1].m_target, 120);
    EXPECT_TRUE(Red(FilledColour(1)));

    // Next rope: rope 2 loses its marker, rope 3 gets it at the next tick.
    dlg->m_nextRopeButton.click();
    EXPECT_EQ(dlg->m_currentRope, 2);
    EXPECT_FALSE(dlg->m_bars[1].m_targetEnabled);
    EXPECT_EQ(dlg->m_bars[1].m_bkColor, kWhite);
    dlg->Tick(kMarkerTimer);
    EXPECT_TRUE(dlg->m_bars[2].m_targetEnabled);
    EXPECT_EQ(dlg->m_bars[2].m_target, 120);

    // The end: every bar as the window made it, the link let go without an X, a new read
    // asked for before a write.
    const int quiet = device.Counters().quietCommands;
    dlg->m_assistantButton.click();
    ExpectState(State::Idle);
    Pump(200);
    EXPECT_EQ(device.Counters().quietCommands, quiet);
    EXPECT_TRUE(device.Streaming()) << "the assistant's end sends no X";
    EXPECT_EQ(dlg->m_currentRope, -1);
    EXPECT_EQ(dlg->m_parametersRead, 0);
    for (auto& bar : dlg->m_bars) {
        EXPECT_FALSE(bar.m_targetEnabled);
        EXPECT_EQ(bar.m_bkColor, kWhite);
        EXPECT_EQ(bar.m_margins.left, 0);
        EXPECT_EQ(bar.m_margins.top, 0);
        EXPECT_EQ(bar.m_margins.right, 0);
        EXPECT_EQ(bar.m_margins.bottom, 0);
        EXPECT_EQ(bar.m_barColors, (std::vector<COLORREF>{RGB(0, 0, 160), RGB(0, 128, 192)}));
    }
    // Ticks after the end change nothing.
    dlg->Tick(kMarkerTimer);
    for (auto& bar : dlg->m_bars)
        EXPECT_FALSE(bar.m_targetEnabled);
    EXPECT_EQ(boxes.size(), 1u) << "no message besides the warning";
}

// The cycle itself is NextRope's; here the reference comes from the measured loads and the
// button moves the current rope past it.
TEST_F(AssistantWindow, NextRopeSkipsTheReferenceTakenFromTheLoads) {
    // Rope 3 (160) is nearest the mean of 150.
    sim->AddDevice(5, SteadyDevice({90, 300, 160, 50}, 4));
    Open();
    MeasureOnce({90, 300, 160, 50});
    dlg->OnAssistant();
    ASSERT_EQ(dlg->Context().assistantActive.load(), 1);
    EXPECT_EQ(dlg->m_referenceRope, 2);
    EXPECT_EQ(dlg->m_currentRope, 0);
    dlg->OnNextRope();
    dlg->OnNextRope();
    EXPECT_EQ(dlg->m_currentRope, 3);
    dlg->OnAssistant();
    ExpectState(State::Idle);
}

TEST_F(AssistantWindow, MoreThanTwelveRopesUseTheTwelveBars) {
    sim->AddDevice(5, SteadyDevice({10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}, 200));
    Open();
    MeasureOnce({10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120});
    dlg->OnAssistant();
    ASSERT_EQ(dlg->Context().assistantActive.load(), 1);
    EXPECT_EQ(dlg->m_referenceRope, 5); // 60 is 5 from the mean of 65, before 70
    for (int i = 0; i < 30; ++i) {
        dlg->OnNextRope();
        ASSERT_GE(dlg->m_currentRope, 0);
        ASSERT_LT(dlg->m_currentRope, kRopes);
        ASSERT_NE(dlg->m_currentRope, 5);
    }
    dlg->OnAssistant();
}

TEST_F(AssistantWindow, FewerThanTwoRopesAreRefused) {
    sim->AddDevice(2, SteadyDevice({100}, 1));
    Open();
    dlg->OnAssistant();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, Localised(res::kStrTooFewRopes));
    EXPECT_EQ(dlg->Context().assistantActive.load(), 0);
    EXPECT_EQ(dlg->Context().runFlag.load(), 0);
    EXPECT_FALSE(dlg->Link().IsOpen());
    EXPECT_FALSE(dlg->m_nextRopeButton.isEnabled());
    EXPECT_TRUE(dlg->m_startStopButton.isEnabled());
    EXPECT_EQ(dlg->m_currentRope, -1);
}

TEST_F(AssistantWindow, DuringAMeasurementThenCancel) {
    auto& device = sim->AddDevice(3, SteadyDevice({100, 100}, 2));
    Open();
    dlg->OnStartStop();
    ASSERT_EQ(dlg->m_measuring, 1);
    answers = {IDCANCEL};
    dlg->m_assistantButton.click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Localised(res::kStrAssistantWarning));
    // The measurement has ended and stays ended; the device was told to stop.
    ExpectState(State::Idle);
    EXPECT_TRUE(Eventually([&] { return !device.Streaming(); }));
}

TEST_F(AssistantWindow, FailureCaptionsDifferFromStart) {
    Open();
    dlg->OnAssistant();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text,
              Localised(res::kStrNoConnection) + "\n\n" + Localised(res::kStrNoConnectionHint));
    EXPECT_EQ(boxes[1].caption, Localised(res::kStrReadFailed));
    EXPECT_EQ(boxes[1].type, MB_OK | MB_ICONHAND);

    sim::DeviceConfig broken = SteadyDevice({1, 1}, 2);
    broken.faults.wrongEcho = true;
    sim->AddDevice(6, broken);
    boxes.clear();
    dlg->OnAssistant();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, Localised(res::kStrReadFailed));
    EXPECT_EQ(boxes[1].caption, Localised(res::kStrReadFailed));
    EXPECT_EQ(dlg->Context().assistantActive.load(), 0);
    EXPECT_EQ(dlg->m_comPort, -1);
    EXPECT_FALSE(dlg->Link().IsOpen());
}

// The bars are full at 1000 kg, but a rope above that carries its own load: the reference,
// the marker and the colour come from the loads, not from the full bars they are drawn as.
TEST_F(AssistantWindow, RopesAboveTheFullScaleCountWithTheirLoads) {
    sim->AddDevice(3, SteadyDevice({1500, 900, 1000}, 3));
    Open();
    MeasureOnce({1500, 900, 1000});
    ASSERT_EQ(dlg->m_bars[0].GetPos(), 1000) << "drawn full";
    dlg->OnAssistant();
    ASSERT_EQ(dlg->Context().assistantActive.load(), 1);
    AwaitFrames();

    // The mean is 1133: rope 3 is nearest. Taken at the full bar, rope 1 would be.
    EXPECT_EQ(dlg->m_referenceRope, 2);
    AssistantTargetArray expected{};
    const BarPositions loads{1500, 900, 1000};
    ComputeAssistantTargets(loads, 3, expected);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(dlg->m_targets[k], expected[k]) << "rope " << k + 1;
    ASSERT_EQ(dlg->m_currentRope, 0);

    // 1500 against 1000 is far, though both fill the bar.
    dlg->Tick(kMarkerTimer);
    EXPECT_EQ(dlg->m_bars[0].m_target, 1000);
    EXPECT_TRUE(Red(FilledColour(0))) << FilledColour(0).name().toStdString();
    // The reference rope goes above the full scale too: the marker follows its load.
    ASSERT_TRUE(ShowReading(3, 2, 1400));
    dlg->Tick(kMarkerTimer);
    EXPECT_EQ(dlg->m_bars[0].m_target, 1400);
    EXPECT_TRUE(Red(FilledColour(0)));
    ASSERT_TRUE(ShowReading(3, 0, 1410));
    EXPECT_TRUE(Green(FilledColour(0))) << "within 2 % of 1400";
    dlg->OnAssistant();
}
