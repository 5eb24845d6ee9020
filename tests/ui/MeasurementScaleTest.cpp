#include "MeasurementScale.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tensiq;

namespace {
constexpr double kPoundDisplayFactor = 2.2048192771084336;
}

TEST(MeasurementScale, FactorTimesDisplayFactorTimesThousand) {
    EXPECT_EQ(MeasurementFullScale(5, kPoundDisplayFactor), 11024);
    EXPECT_EQ(RunBarUpperBound(11024), 11024);
    EXPECT_EQ(MeasurementFullScale(1, 1.0), 1000);
    EXPECT_EQ(MeasurementFullScale(0, 1.0), 0);
    // The factor byte is signed.
    EXPECT_EQ(MeasurementFullScale(static_cast<std::int8_t>(0xFE), 1.0), -2000);
}

TEST(MeasurementScale, AboveSixteenBitsTheBarsAreCutTheChartIsNot) {
    const int full = MeasurementFullScale(127, kPoundDisplayFactor);
    EXPECT_EQ(full, 280012);
    EXPECT_EQ(RunBarUpperBound(full), 280012 - 4 * 65536);
    EXPECT_EQ(RunBarUpperBound(65536), 0);
    EXPECT_EQ(RunBarUpperBound(65535), 65535);
}

TEST(MeasurementScale, NonsenseDisplayFactorsGiveNoUndefinedValue) {
    EXPECT_EQ(MeasurementFullScale(100, std::nan("")), 0);
    EXPECT_EQ(MeasurementFullScale(100, 1e300), 2147483647);
    EXPECT_EQ(MeasurementFullScale(-100, 1e300), -2147483647 - 1);
}
