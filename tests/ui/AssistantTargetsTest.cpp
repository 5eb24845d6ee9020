#include "AssistantTargets.h"
#include "AssistantRopes.h"
#include "LinearSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace tensiq;

namespace {

AssistantTargetArray Untouched() {
    AssistantTargetArray t;
    t.fill(777);
    return t;
}

BarPositions Positions(std::initializer_list<int> values) {
    BarPositions p{};
    std::size_t i = 0;
    for (int v : values)
        p[i++] = v;
    return p;
}

} // namespace

TEST(AssistantTargets, WorkedExamples) {
    // 100, 110, 90: rope 1 sits on the mean.
    AssistantTargetArray t = Untouched();
    EXPECT_EQ(ComputeAssistantTargets(Positions({100, 110, 90}), 3, t), 0);
    EXPECT_EQ(t[0], 100);
    EXPECT_EQ(t[1], 103);
    EXPECT_EQ(t[2], 96);
    for (int i = 3; i < kRopes; ++i)
        EXPECT_EQ(t[i], 777) << "entry " << i << " is beyond the rope count";

    // 120, 80: both 20 from the mean, the lower index wins; rope 2 is adjusted first.
    t = Untouched();
    const auto reference = ComputeAssistantTargets(Positions({120, 80}), 2, t);
    ASSERT_EQ(reference, 0);
    EXPECT_EQ(t[0], 120);
    EXPECT_EQ(t[1], 100);
    EXPECT_EQ(FirstAssistantRope(*reference), 1);

    // No earlier run: every bar at 0, no rope nearer than the mean itself.
    t = Untouched();
    ASSERT_EQ(ComputeAssistantTargets(BarPositions{}, 12, t), 0);
    for (int v : t)
        EXPECT_EQ(v, 0);
}

TEST(AssistantTargets, ReferenceIsTheRopeNearestTheMeanLowerIndexOnTies) {
    AssistantTargetArray t = Untouched();
    EXPECT_EQ(ComputeAssistantTargets(Positions({90, 110, 100}), 3, t), 2);
    EXPECT_EQ(t[2], 100);
    EXPECT_EQ(FirstAssistantRope(2), 0);
    EXPECT_EQ(ComputeAssistantTargets(Positions({50, 95, 105, 150}), 4, t), 1);
    // Rope 1 stays the reference unless a rope is nearer the mean than the mean is to 0.
    EXPECT_EQ(ComputeAssistantTargets(Positions({300, 0, 0}), 3, t), 0);
    EXPECT_EQ(ComputeAssistantTargets(Positions({300, 0, 1}), 3, t), 2);
}

TEST(AssistantTargets, EqualsTheClosedFormWithinRounding) {
    std::mt19937 random(12);
    std::uniform_int_distribution<int> load(0, 60000);
    for (int n = 2; n <= kRopes; ++n)
        for (int round = 0; round < 200; ++round) {
            BarPositions p{};
            for (int i = 0; i < n; ++i)
                p[i] = load(random);
            AssistantTargetArray t = Untouched();
            const auto r = ComputeAssistantTargets(p, n, t);
            ASSERT_TRUE(r.has_value());
            const double m = n - 1;
            for (int i = 0; i < n; ++i) {
                if (i == *r) {
                    EXPECT_EQ(t[i], p[i]);
                    continue;
                }
                const double exact = p[i] + m / (m + 1) * (p[*r] - p[i]);
                EXPECT_LE(std::fabs(t[i] - std::trunc(exact)), 1.0)
                    << "n " << n << " rope " << i << " exact " << exact;
            }
        }
}

TEST(AssistantTargets, RopeCountsOutsideTwoToTwelve) {
    const BarPositions p = Positions({5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27});
    for (int count : {-1, 0, 1}) {
        AssistantTargetArray t = Untouched();
        EXPECT_FALSE(ComputeAssistantTargets(p, count, t).has_value()) << count;
        EXPECT_EQ(t, Untouched()) << count;
    }
    AssistantTargetArray twelve = Untouched();
    AssistantTargetArray many = Untouched();
    EXPECT_EQ(ComputeAssistantTargets(p, 12, twelve), ComputeAssistantTargets(p, 255, many));
    EXPECT_EQ(twelve, many);
    EXPECT_EQ(AssistantRopeCount(255), 12);
    EXPECT_EQ(AssistantRopeCount(-4), 0);
    EXPECT_EQ(AssistantRopeCount(7), 7);
}

TEST(AssistantTargets, ExtremePositionsDoNotOverflow) {
    // Sums and differences of positions at the ends of 32 bits are done in double.
    AssistantTargetArray t = Untouched();
    const int high = 2147483647;
    const int low = -high - 1;
    ASSERT_EQ(ComputeAssistantTargets(Positions({high, low, high}), 3, t), 0);
    EXPECT_EQ(t[0], high);
    EXPECT_NEAR(t[1], 715827882, 1);
    EXPECT_EQ(t[2], high);
}

TEST(NextRope, CyclesAndSkipsTheReference) {
    // Four ropes, rope 3 the reference: 1, 2, 4, 1, 2, ...
    int rope = FirstAssistantRope(2);
    std::vector<int> seen{rope};
    for (int i = 0; i < 5; ++i)
        seen.push_back(rope = NextAssistantRope(rope, 2, 4));
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 3, 0, 1, 3}));

    // Rope 1 the reference: rope 1 is never current.
    EXPECT_EQ(FirstAssistantRope(0), 1);
    EXPECT_EQ(NextAssistantRope(1, 0, 2), 1);
    EXPECT_EQ(NextAssistantRope(2, 0, 3), 1);
    // The last rope as the reference.
    EXPECT_EQ(NextAssistantRope(2, 3, 4), 0);
}

TEST(NextRope, NeverLeavesTheTwelveRopes) {
    EXPECT_EQ(NextAssistantRope(11, 0, 255), 1);
    EXPECT_EQ(NextAssistantRope(10, 11, 255), 0);
    EXPECT_EQ(NextAssistantRope(-1, 0, 4), 1);
    EXPECT_EQ(NextAssistantRope(-1, 3, 4), 0);
    EXPECT_EQ(NextAssistantRope(7, 0, 4), 1); // a rope count that shrank under the current rope
    EXPECT_EQ(NextAssistantRope(2147483647, 0, 4), 1);
    EXPECT_EQ(NextAssistantRope(-2147483647 - 1, 1, 4), 0);
    for (int count : {-1, 0, 1})
        EXPECT_EQ(NextAssistantRope(0, 0, count), -1) << count;
    for (int count = 2; count <= 12; ++count)
        for (int reference = 0; reference < count; ++reference)
            for (int current = -1; current < kRopes; ++current) {
                const int next = NextAssistantRope(current, reference, count);
                EXPECT_TRUE(next >= 0 && next < count && next != reference);
            }
}

TEST(LinearSystem, PartialPivotingSwapsRows) {
    // A zero on the diagonal needs a swap.
    auto x = SolveLinearSystem({0, 1, 1, 0}, {2, 3});
    ASSERT_TRUE(x.has_value());
    EXPECT_DOUBLE_EQ((*x)[0], 3.0);
    EXPECT_DOUBLE_EQ((*x)[1], 2.0);
    // A tiny pivot would lose the answer to rounding without the swap.
    x = SolveLinearSystem({1e-20, 1, 1, 1}, {1, 2});
    ASSERT_TRUE(x.has_value());
    EXPECT_NEAR((*x)[0], 1.0, 1e-12);
    EXPECT_NEAR((*x)[1], 1.0, 1e-12);
    // Three unknowns.
    x = SolveLinearSystem({2, 1, -1, -3, -1, 2, -2, 1, 2}, {8, -11, -3});
    ASSERT_TRUE(x.has_value());
    EXPECT_NEAR((*x)[0], 2.0, 1e-12);
    EXPECT_NEAR((*x)[1], 3.0, 1e-12);
    EXPECT_NEAR((*x)[2], -1.0, 1e-12);
}

TEST(LinearSystem, SingularOrMisshapenSystemsHaveNoSolution) {
    EXPECT_FALSE(SolveLinearSystem({1, 2, 2, 4}, {1, 2}).has_value());
    EXPECT_FALSE(SolveLinearSystem({1, 2, 3}, {1, 2}).has_value());
    auto empty = SolveLinearSystem({}, {});
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());
}
