// The bars' scale while a run is on: every rope shows its load at any factor the form accepts,
// in every unit, after a unit switch mid-run, and under the assistant.

#include "MeasurementScale.h"
#include "RunWindowFixture.h"
#include "WeightUnit.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace tensiq;
using namespace tensiq::test;

namespace {

constexpr int kAllUnits[] = {Kilogram, ShortTon, LongTon, Pound};

// A rope's bar position for a reading: reading × factor in kilograms, then in the unit.
int Position(int reading, int factor, int unit) {
    return static_cast<int>(
        std::trunc(static_cast<double>(reading * factor) * DisplayFactor(unit)));
}

class RunScale : public RunWindowFixture {
protected:
    int Upper(int rope) {
        int lower = -1;
        int upper = -1;
        dlg->m_bars[rope].GetRange(lower, upper);
        EXPECT_EQ(lower, 0);
        return upper;
    }
    bool ShowsPositions(const std::vector<int>& positions) {
        for (std::size_t k = 0; k < positions.size(); ++k)
            if (dlg->m_bars[k].GetPos() != positions[k])
                return false;
        return true;
    }
    std::string Shown(std::size_t ropes) {
        std::string all;
        for (std::size_t k = 0; k < ropes; ++k)
            all += std::to_string(dlg->m_bars[k].GetPos()) + " ";
        return all;
    }
    // The bar's client at a height above its foot, as a fraction of its length: filled or not.
    bool FilledAt(int rope, double height) {
        const QImage image = Grab(dlg->m_bars[rope]);
        const QColor c = image.pixelColor(2, static_cast<int>((1.0 - height) * image.height()));
        return c != QColor(Qt::white);
    }
};

} // namespace

// Readings of 10 and 20 at factor 66 are 660 and 1320 kg; cut to 16 bits, the range was 0..464
// and both were drawn full at 464.
TEST_F(RunScale, FactorsSixtySixAndNinetyNineShowEveryRopeInEveryUnit) {
    const std::vector<std::int16_t> readings = {10, 20, 500, 1000, 250, 0};
    sim->AddDevice(2, SteadyDevice(readings, 6, 66));
    Open();
    for (const int factor : {66, 99}) {
        sim->With<sim::DeviceModel>(2, [&](sim::DeviceModel& d) { d.Config().block[19] = factor; });
        for (const int unit : kAllUnits) {
            SCOPED_TRACE("factor " + std::to_string(factor) + ", unit " + UnitText(unit));
            dlg->SetWeightUnit(unit);
            dlg->OnStartStop();
            ASSERT_EQ(dlg->m_measuring, 1) << BoxTexts();
            const int fullScale =
                MeasurementFullScale(static_cast<std::int8_t>(factor), DisplayFactor(unit));
            for (int k = 0; k < kRopes; ++k)
                EXPECT_EQ(Upper(k), fullScale) << "bar " << k + 1;
            std::vector<int> expected;
            for (const int r : readings)
                expected.push_back(Position(r, factor, unit));
            AwaitFrames();
            EXPECT_TRUE(PumpUntil([&] { return ShowsPositions(expected); }))
                << "shown " << Shown(readings.size());
            // Rope 3 stands at half the scale, rope 4 at its top.
            EXPECT_TRUE(FilledAt(2, 0.25));
            EXPECT_FALSE(FilledAt(2, 0.75)) << "half the scale drawn as more";
            EXPECT_TRUE(FilledAt(3, 0.75));
            dlg->OnStartStop();
            ASSERT_EQ(dlg->m_measuring, 0);
        }
    }
    dlg->SetWeightUnit(Kilogram);
    sim->With<sim::DeviceModel>(2, [](sim::DeviceModel& d) { d.Config().block[19] = 66; });
    dlg->OnStartStop();
    EXPECT_EQ(Upper(0), 66000);
    AwaitFrames();
    EXPECT_TRUE(PumpUntil([&] { return ShowsPositions({660, 1320}); })) << Shown(2);
    dlg->OnStartStop();
}

// Factor 5 and lbs chosen mid-run: the unit alone gave 0..2204, and ropes of 4409 and 3307 lbs
// were both drawn full at 2204.
TEST_F(RunScale, AUnitSwitchMidRunSetsTheScaleAFreshStartSets) {
    const std::vector<std::int16_t> readings = {400, 300};
    sim->AddDevice(2, SteadyDevice(readings, 2, 5));
    Open();
    dlg->OnStartStop();
    ASSERT_EQ(dlg->m_measuring, 1) << BoxTexts();
    AwaitFrames();
    ASSERT_TRUE(PumpUntil([&] { return ShowsPositions({2000, 1500}); })) << Shown(2);

    dlg->SetWeightUnit(Pound);
    EXPECT_EQ(Upper(0), 11024);
    EXPECT_EQ(dlg->m_chart.GetSeries(0).fullScale, 11024u);
    EXPECT_TRUE(PumpUntil([&] { return ShowsPositions({4409, 3307}); })) << Shown(2);
    EXPECT_FALSE(FilledAt(0, 0.75)) << "4409 of 11024 drawn as more";

    int midRun[4] = {};
    unsigned midRunChart[4] = {};
    for (const int unit : {ShortTon, LongTon, Kilogram, Pound}) {
        dlg->SetWeightUnit(unit);
        midRun[unit] = Upper(kRopes - 1);
        midRunChart[unit] = dlg->m_chart.GetSeries(kRopes - 1).fullScale;
        std::vector<int> expected;
        for (const int r : readings)
            expected.push_back(Position(r, 5, unit));
        EXPECT_TRUE(PumpUntil([&] { return ShowsPositions(expected); }))
            << UnitText(unit) << ": " << Shown(2);
    }
    dlg->OnStartStop();

    for (const int unit : kAllUnits) {
        dlg->SetWeightUnit(unit);
        dlg->OnStartStop();
        ASSERT_EQ(dlg->m_measuring, 1) << BoxTexts();
        EXPECT_EQ(midRun[unit], Upper(kRopes - 1)) << UnitText(unit);
        EXPECT_EQ(midRunChart[unit], dlg->m_chart.GetSeries(kRopes - 1).fullScale)
            << UnitText(unit);
        dlg->OnStartStop();
    }
}

// Idle, a switch has no device factor to go by: the bars take the unit's own range.
TEST_F(RunScale, AnIdleUnitSwitchLeavesTheRunsScaleToTheNextStart) {
    sim->AddDevice(2, SteadyDevice({400, 300}, 2, 5));
    Open();
    MeasureOnce({2000, 1500});
    dlg->SetWeightUnit(Pound);
    EXPECT_EQ(Upper(0), 2204);
    dlg->OnStartStop();
    EXPECT_EQ(Upper(0), 11024);
    dlg->OnStartStop();
}

// Started without a measurement, the assistant worked on bars still at 0..1000: loads of 2000,
// 1500 and 1750 kg at factor 5 all stood at 1000, and rope 2, a quarter below the reference,
// showed green.
TEST_F(RunScale, TheAssistantWithoutAMeasurementTakesTheRunsScale) {
    sim->AddDevice(3, SteadyDevice({400, 300, 350}, 3, 5));
    Open();
    dlg->OnAssistant();
    ASSERT_EQ(dlg->Context().assistantActive.load(), 1) << BoxTexts();
    for (int k = 0; k < kRopes; ++k)
        EXPECT_EQ(Upper(k), 5000) << "bar " << k + 1;
    EXPECT_EQ(dlg->m_chart.GetSeries(0).fullScale, 5000u);
    EXPECT_EQ(dlg->m_referenceRope, 0) << "no positions yet: rope 1";
    EXPECT_EQ(dlg->m_currentRope, 1);
    AwaitFrames();
    ASSERT_TRUE(PumpUntil([&] { return ShowsPositions({2000, 1500, 1750}); })) << Shown(3);

    dlg->Tick(kMarkerTimer);
    EXPECT_EQ(dlg->m_bars[1].m_target, 2000);
    const QImage image = Grab(dlg->m_bars[1]);
    const QColor filled = image.pixelColor(image.width() / 2, image.height() - 6);
    EXPECT_TRUE(filled.red() > 120 && filled.green() < 60) << filled.name().toStdString();

    // A switch during the assistant: the same scale a start in that unit sets; the marker
    // follows the reference in the new unit.
    dlg->SetWeightUnit(Pound);
    EXPECT_EQ(Upper(1), 11024);
    ASSERT_TRUE(PumpUntil([&] { return ShowsPositions({4409, 3307, 3858}); })) << Shown(3);
    dlg->Tick(kMarkerTimer);
    EXPECT_EQ(dlg->m_bars[1].m_target, 4409);
    dlg->OnAssistant();
}

// Positions left by a run in another unit are no loads of the assistant's run: it takes none
// rather than kilograms for pounds.
TEST_F(RunScale, TheAssistantTakesNoPositionsShownAtAnotherScale) {
    sim->AddDevice(3, SteadyDevice({300, 350, 400}, 3, 5));
    Open();
    MeasureOnce({1500, 1750, 2000});
    dlg->SetWeightUnit(Pound);
    dlg->m_targets.fill(-1);
    dlg->OnAssistant();
    ASSERT_EQ(dlg->Context().assistantActive.load(), 1) << BoxTexts();
    EXPECT_EQ(dlg->m_referenceRope, 0);
    EXPECT_EQ(dlg->m_targets[0], 0);
    EXPECT_EQ(dlg->m_targets[1], 0);
    EXPECT_EQ(dlg->m_targets[2], 0);
    EXPECT_EQ(dlg->m_bars[1].m_target, 0);
    dlg->OnAssistant();

    // At the same scale the last run's positions are taken: rope 2 is nearest the mean.
    MeasureOnce({3307, 3858, 4409});
    dlg->OnAssistant();
    ASSERT_EQ(dlg->Context().assistantActive.load(), 1) << BoxTexts();
    EXPECT_EQ(dlg->m_referenceRope, 1);
    EXPECT_EQ(dlg->m_targets[1], 3858);
    dlg->OnAssistant();
}
