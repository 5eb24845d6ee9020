#include "MeanInterval.h"

#include <gtest/gtest.h>

using namespace tensiq::bench;

TEST(MeanIntervalTest, UsesTheSampleSpreadAndStudentsT) {
    // Standard deviation 1 (n - 1 in the divisor), standard error 1/sqrt(3), t for 2 degrees.
    const MeanInterval m = MeanWithInterval({1.0, 2.0, 3.0});
    EXPECT_EQ(m.rounds, 3);
    EXPECT_DOUBLE_EQ(m.mean, 2.0);
    EXPECT_NEAR(m.halfWidth, 4.303 / std::sqrt(3.0), 1e-9);

    // Forty rounds: the quantile past the table, 2.023 for 39 degrees.
    std::vector<double> forty;
    for (int i = 0; i < 40; ++i)
        forty.push_back(i % 2 == 0 ? 1.1 : 1.3);
    const MeanInterval f = MeanWithInterval(forty);
    const double standardError = std::sqrt(0.01 * 40 / 39 / 40);
    EXPECT_NEAR(f.mean, 1.2, 1e-12);
    EXPECT_NEAR(f.halfWidth, 2.023 * standardError, 0.003 * 2.023 * standardError);
}

TEST(MeanIntervalTest, TheQuantileFallsSmoothlyPastTheTable) {
    // Known values of the two-sided 95 % quantile, to the 0.3 % the header promises.
    EXPECT_NEAR(StudentT95(40), 2.021, 2.021 * 0.003);
    EXPECT_NEAR(StudentT95(60), 2.000, 2.000 * 0.003);
    EXPECT_NEAR(StudentT95(120), 1.980, 1.980 * 0.003);
    for (int df = 2; df < 200; ++df)
        EXPECT_LT(StudentT95(df), StudentT95(df - 1)) << df;
    EXPECT_LT(StudentT95(0), 0);
}

TEST(MeanIntervalTest, ABoundIsJudgedOnlyWhenTheIntervalDecidesIt) {
    const MeanInterval low = MeanWithInterval({1.10, 1.12, 1.14, 1.16});
    const MeanInterval high = MeanWithInterval({1.30, 1.32, 1.34, 1.36});
    const MeanInterval wide = MeanWithInterval({1.0, 1.4});
    EXPECT_EQ(AtMost(low, 1.2), Verdict::Met);
    EXPECT_EQ(AtMost(high, 1.2), Verdict::Missed);
    // A mean under the bound is not enough when the interval reaches past it.
    EXPECT_LT(wide.mean, 1.21);
    EXPECT_EQ(AtMost(wide, 1.21), Verdict::Undecided);
    EXPECT_EQ(AtMost(low, low.High()), Verdict::Met);
    EXPECT_EQ(AtMost(high, high.Low()), Verdict::Undecided);
    // One round or none says nothing about the spread.
    EXPECT_EQ(AtMost(MeanWithInterval({1.0}), 1.2), Verdict::Undecided);
    EXPECT_EQ(MeanWithInterval({1.0}).halfWidth, -1);
    EXPECT_EQ(AtMost(MeanWithInterval({}), 1.2), Verdict::Undecided);
}
