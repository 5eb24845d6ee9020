#include "BarMarking.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tensiq;

namespace {

constexpr std::uint32_t kYellow = 0x0080FFFF; // the assistant's light yellow, RGB(255, 255, 128)

struct Bar {
    std::uint32_t background = kUnmarkedBackground;
    int repaints = 0;
    void Apply(bool marked) {
        if (const auto colour = MarkedBackground(marked, background)) {
            background = *colour;
            ++repaints;
        }
    }
};

} // namespace

TEST(BarMarking, GreyForAMarkWhiteOnlyFromGrey) {
    EXPECT_EQ(MarkedBackground(true, kUnmarkedBackground), kMarkedBackground);
    EXPECT_EQ(MarkedBackground(true, kYellow), kMarkedBackground);
    EXPECT_EQ(MarkedBackground(true, kMarkedBackground), std::nullopt);
    EXPECT_EQ(MarkedBackground(false, kMarkedBackground), kUnmarkedBackground);
    EXPECT_EQ(MarkedBackground(false, kUnmarkedBackground), std::nullopt);
    EXPECT_EQ(MarkedBackground(false, kYellow), std::nullopt) << "the assistant's colour stays";
}

TEST(BarMarking, RuleFollowsTheColourTheAssistantSetMeanwhile) {
    Bar bar;
    bar.Apply(true);
    bar.Apply(true);
    EXPECT_EQ(bar.repaints, 1) << "a rope marked in two frames repaints once";
    // The assistant's next-rope command paints the bar yellow while the mark stays on.
    bar.background = kYellow;
    bar.Apply(true);
    EXPECT_EQ(bar.background, kMarkedBackground) << "a memory of the last mark would miss this";
    bar.Apply(false);
    EXPECT_EQ(bar.background, kUnmarkedBackground);
    EXPECT_EQ(bar.repaints, 3);
}
