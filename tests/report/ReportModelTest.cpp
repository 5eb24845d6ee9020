// The report's figures and verdict against worked examples.
#include "ReportCsv.h"
#include "ReportTexts.h"
#include "ReportTime.h"
#include "RopeReport.h"
#include "SteadyLoads.h"

#include "GermanNumbers.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace tensiq::report {
namespace {

SteadyLoads Loads(std::initializer_list<double> means) {
    SteadyLoads loads;
    int k = 0;
    for (double m : means)
        loads.ropes[k++].mean = m;
    loads.frames = loads.totalFrames = 100;
    return loads;
}

ParameterBlock Block(int ropes, std::int16_t ropeDifference, std::int16_t emptyLoadRelay = 0) {
    ParameterBlock block;
    block.SetRopeCount(static_cast<std::uint8_t>(ropes));
    block.SetFactor(1);
    block.SetRopeDifference(ropeDifference);
    block.SetEmptyLoadThreshold(emptyLoadRelay);
    return block;
}

ReportInput Input(std::initializer_list<double> left, std::optional<ParameterBlock> block) {
    ReportInput in;
    in.found = Loads({120, 80, 100});
    in.left = Loads(left);
    in.block = block;
    return in;
}

ReportFigures Figures(const ReportInput& in) {
    std::string error;
    auto figures = MakeFigures(in, error);
    EXPECT_TRUE(figures) << error;
    return figures.value_or(ReportFigures{});
}

TEST(ReportVerdict, SpreadWithinTheAllowedDifferencePasses) {
    const ReportFigures f = Figures(Input({100, 101, 99}, Block(3, 5)));
    EXPECT_EQ(f.verdict, Verdict::Pass);
    EXPECT_DOUBLE_EQ(f.allowedKg, 5.0);
    EXPECT_TRUE(f.ropesOutside.empty());
    for (const RopeRow& row : f.rows)
        EXPECT_EQ(row.state, RopeState::Ok);
    // A spread of exactly the allowed difference is within it.
    EXPECT_EQ(Figures(Input({100, 105, 102}, Block(3, 5))).verdict, Verdict::Pass);
    EXPECT_EQ(Figures(Input({100, 106, 102}, Block(3, 5))).verdict, Verdict::Fail);
    // The device judges the spread: a rope further than half the limit from the mean passes
    // with the others when the spread is within it.
    const ReportFigures skewed = Figures(Input({100, 100, 100, 105}, Block(4, 5)));
    EXPECT_EQ(skewed.verdict, Verdict::Pass);
    EXPECT_EQ(skewed.rows[3].state, RopeState::Ok);
}

TEST(ReportVerdict, FailNamesTheRopesOutsideHalfTheAllowedDifference) {
    const ReportFigures f = Figures(Input({100, 110, 90}, Block(3, 5)));
    EXPECT_EQ(f.verdict, Verdict::Fail);
    EXPECT_EQ(f.ropesOutside, (std::vector<int>{2, 3}));
    ASSERT_EQ(f.rows.size(), 3u);
    EXPECT_EQ(f.rows[0].state, RopeState::Ok);
    EXPECT_EQ(f.rows[1].state, RopeState::High);
    EXPECT_EQ(f.rows[2].state, RopeState::Low);
}

TEST(ReportVerdict, WithoutALimitNothingIsAssessed) {
    const ReportFigures noBlock = Figures(Input({100, 101, 99}, std::nullopt));
    EXPECT_EQ(noBlock.verdict, Verdict::NotAssessed);
    EXPECT_EQ(noBlock.reason, NotAssessedReason::NoBlock);
    for (const RopeRow& row : noBlock.rows)
        EXPECT_EQ(row.state, RopeState::NotAssessed);

    const ReportFigures zero = Figures(Input({100, 100, 100}, Block(3, 0)));
    EXPECT_EQ(zero.verdict, Verdict::NotAssessed);
    EXPECT_EQ(zero.reason, NotAssessedReason::NoAllowedDifference);
    EXPECT_EQ(Figures(Input({100, 100, 100}, Block(3, -5))).verdict, Verdict::NotAssessed);

    // Ropes without load are no equal tension.
    const ReportFigures empty = Figures(Input({0, 0, 0}, Block(3, 5)));
    EXPECT_EQ(empty.verdict, Verdict::NotAssessed);
    EXPECT_EQ(empty.reason, NotAssessedReason::NoLoad);
}

TEST(ReportVerdict, RopeDifferenceDeviceIsJudgedByItsRelayThreshold) {
    ReportInput in = Input({100, 110, 90}, Block(3, 5, 25));
    in.ropeDifferenceVariant = true;
    const ReportFigures f = Figures(in);
    EXPECT_TRUE(f.allowedFromRelayThreshold);
    EXPECT_DOUBLE_EQ(f.allowedKg, 25.0);
    EXPECT_EQ(f.verdict, Verdict::Pass);

    // Its own rope-difference word is a minimum load per rope there, not a limit.
    ReportInput noRelay = Input({100, 101, 99}, Block(3, 50, 0));
    noRelay.ropeDifferenceVariant = true;
    EXPECT_EQ(Figures(noRelay).verdict, Verdict::NotAssessed);
}

TEST(ReportRopes, RopesBeyondTheBlocksCountAreLeftOut) {
    ReportInput in = Input({100, 101, 99, 5000}, Block(3, 5));
    const ReportFigures f = Figures(in);
    EXPECT_EQ(f.ropes, 3);
    EXPECT_EQ(f.rows.size(), 3u);
    EXPECT_EQ(f.verdict, Verdict::Pass);
    EXPECT_DOUBLE_EQ(f.left.max, 101.0);

    EXPECT_EQ(Figures(Input({100, 101}, std::nullopt)).ropes, 12);
    EXPECT_EQ(Figures(Input({100, 101}, Block(200, 5))).ropes, 12);
}

TEST(ReportRopes, FewerThanTwoRopesAreRefused) {
    for (int ropes : {0, 1}) {
        std::string error;
        EXPECT_FALSE(MakeFigures(Input({100, 101}, Block(ropes, 5)), error)) << ropes;
        EXPECT_NE(error.find("two ropes"), std::string::npos) << error;
    }
}

TEST(ReportFigures, MeanSpreadAndDeviationsOfEachSet) {
    const ReportFigures f = Figures(Input({100, 110, 90}, Block(3, 5)));
    EXPECT_DOUBLE_EQ(f.left.mean, 100.0);
    EXPECT_DOUBLE_EQ(f.left.min, 90.0);
    EXPECT_DOUBLE_EQ(f.left.max, 110.0);
    EXPECT_DOUBLE_EQ(f.left.spreadKg, 20.0);
    EXPECT_DOUBLE_EQ(f.left.spreadPercent, 20.0);
    EXPECT_EQ(f.left.deviationKg, (std::vector<double>{0, 10, -10}));
    EXPECT_EQ(f.left.deviationPercent, (std::vector<double>{0, 10, -10}));
    EXPECT_DOUBLE_EQ(f.found.spreadKg, 40.0);
    EXPECT_DOUBLE_EQ(f.rows[0].foundDeviationPercent, 20.0);
    EXPECT_DOUBLE_EQ(f.rows[1].foundDeviationPercent, -20.0);
}

TEST(SteadyWindow, MeansOverTheNewestFramesOnly) {
    SteadyWindow window(4);
    for (int v : {1000, 1000, 1000, 10, 20, 30, 40})
        window.Add({v, 2 * v});
    const SteadyLoads all = window.Result();
    EXPECT_EQ(all.frames, 4);
    EXPECT_EQ(all.totalFrames, 7);
    EXPECT_DOUBLE_EQ(all.ropes[0].mean, 25.0);
    EXPECT_DOUBLE_EQ(all.ropes[1].mean, 50.0);
    EXPECT_NEAR(all.ropes[0].deviation, 11.1803398875, 1e-9); // sqrt(125)
    const SteadyLoads two = window.Result(2);
    EXPECT_DOUBLE_EQ(two.ropes[0].mean, 35.0);
    EXPECT_DOUBLE_EQ(two.ropes[0].deviation, 5.0);
}

TEST(SteadyWindow, ARunShorterThanTheWindowCountsWhole) {
    SteadyWindow window(1152);
    window.Add({10});
    window.Add({20});
    const SteadyLoads loads = window.Result();
    EXPECT_EQ(loads.frames, 2);
    EXPECT_DOUBLE_EQ(loads.ropes[0].mean, 15.0);
    EXPECT_EQ(SteadyWindow(5).Result().frames, 0);
}

TEST(SteadyWindow, TwoSecondsOfFramesAtTheRunsRate) {
    EXPECT_EQ(SteadyWindowFrames(kLineFramesPerSecond), 1152);
    // 6000 frames in 60 s: 100 a second.
    EXPECT_EQ(SteadyWindowFramesOfRun(6000, 60.0), 200);
    // No duration known: the line's rate.
    EXPECT_EQ(SteadyWindowFramesOfRun(6000, 0.0), 1152);
}

TEST(ReportCsv, TableWithHeaderInTheUnitShownAndPointDecimals) {
    test::GermanNumbers german;
    ASSERT_TRUE(german.Active());
    ReportInput in = Input({100, 110, 90}, Block(3, 5));
    in.targets = std::array<double, kReportRopes>{100, 103, 96};
    in.left.ropes[1].deviation = 1.25;
    in.unitText = "lbs";
    in.unitFactor = 2.0;
    const std::string csv = ReportCsv(in, Figures(in));
    EXPECT_EQ(csv, "rope,as_found_lbs,as_found_deviation_percent,target_lbs,as_left_lbs,"
                   "as_left_deviation_percent,as_left_sd_lbs,state\n"
                   "1,240.0,20.00,200.0,200.0,0.00,0.0,OK\n"
                   "2,160.0,-20.00,206.0,220.0,10.00,2.5,HIGH\n"
                   "3,200.0,0.00,192.0,180.0,-10.00,0.0,LOW\n");
}

TEST(ReportTextsFill, PlaceholdersInOrderOnce) {
    EXPECT_EQ(FillPlaceholders("%1 to %2", {"a", "%2"}), "a to %2");
    EXPECT_EQ(FillPlaceholders("%3 stays", {"a"}), "%3 stays");
}

TEST(ReportTimes, DateLinesInTheReportsOwnForm) {
    EXPECT_EQ(ReportTimeOfDateLine("08.12.2026 09:05:07"), "2026-12-08 09:05:07");
    EXPECT_EQ(ReportTimeOfDateLine("2026-12-08 09:05:07"), "2026-12-08 09:05:07");
    // Day or month first cannot be told; a line that only looks German is not a date.
    for (const char* kept : {"12/08/26 09:05:07", "32.12.2026 09:05:07", "08.13.2026 09:05:07",
                             "08.12.2026 24:00:00", "08.12.2026 09:05", "8.12.2026 09:05:07", ""})
        EXPECT_EQ(ReportTimeOfDateLine(kept), kept);
    // Local time in the same form, whatever the locale.
    const std::string now = ReportTime(std::time(nullptr));
    ASSERT_EQ(now.size(), 19u) << now;
    EXPECT_EQ(now[4], '-');
    EXPECT_EQ(now[10], ' ');
    EXPECT_EQ(now[16], ':');
}

} // namespace
} // namespace tensiq::report
