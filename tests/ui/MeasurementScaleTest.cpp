#include "MeasurementScale.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tensiq;

namespace {
constexpr double kPoundDisplayFactor = 2.2048192771084336;
}

TEST(MeasurementScale, FactorTimesDisplayFactorTimesThousand) {
    EXPECT_EQ(MeasurementFullScale(5, kPoundDisplayFactor), 11024);
    EXPECT_EQ(MeasurementFullScale(1, 1.0), 1000);
    EXPECT_EQ(MeasurementFullScale(0, 1.0), 0);
    // The factor byte is signed.
    EXPECT_EQ(MeasurementFullScale(static_cast<std::int8_t>(0xFE), 1.0), -2000);
}

TEST(MeasurementScale, AboveSixteenBitsTheScaleIsWhole) {
    EXPECT_EQ(MeasurementFullScale(66, 1.0), 66000);
    EXPECT_EQ(MeasurementFullScale(30, kPoundDisplayFactor), 66144);
    EXPECT_EQ(MeasurementFullScale(127, kPoundDisplayFactor), 280012);
}

TEST(MeasurementScale, NonsenseDisplayFactorsGiveNoUndefinedValue) {
    EXPECT_EQ(MeasurementFullScale(100, std::nan("")), 0);
    EXPECT_EQ(MeasurementFullScale(100, 1e300), 2147483647);
    EXPECT_EQ(MeasurementFullScale(-100, 1e300), -2147483647 - 1);
}
