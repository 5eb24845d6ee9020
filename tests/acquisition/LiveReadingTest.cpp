#include "LiveReading.h"

#include <gtest/gtest.h>

using namespace tensiq;

namespace {

LiveFrame Frame(int reading, std::uint8_t flag = 0) {
    LiveFrame f;
    f.bytes[0] = LiveFrame::kMarker;
    f.bytes[39] = LiveFrame::kTerminator;
    for (int k = 0; k < kRopes; ++k) {
        const auto word = static_cast<std::uint16_t>(static_cast<std::int16_t>(reading));
        f.bytes[2 + 3 * k] = static_cast<std::uint8_t>(word & 0xFF);
        f.bytes[3 + 3 * k] = static_cast<std::uint8_t>(word >> 8);
        f.bytes[4 + 3 * k] = flag;
    }
    return f;
}

} // namespace

TEST(LiveReading, FactorMultipliesEveryRopeAndTheTotalCoversAllTwelve) {
    const FrameUpdate u = ComputeReadings(Frame(100), {1.0, 3, "kg"}, "Gesamt");
    for (int k = 0; k < kRopes; ++k) {
        EXPECT_EQ(u.loads[k], 300);
        EXPECT_EQ(u.displayValues[k], 300);
    }
    EXPECT_EQ(u.totalKg, 3600);
    EXPECT_EQ(u.totalText, "Gesamt: 3600 kg");
}

TEST(LiveReading, NegativeReadingCountsAsNoLoad) {
    const FrameUpdate u = ComputeReadings(Frame(-5), {1.0, 3, "kg"}, "Gesamt");
    EXPECT_EQ(u.loads[0], 0);
    EXPECT_EQ(u.displayValues[11], 0);
    EXPECT_EQ(u.totalText, "Gesamt: 0 kg");
    LiveFrame extreme = Frame(0);
    extreme.bytes[2] = 0x00;
    extreme.bytes[3] = 0x80; // -32768
    EXPECT_EQ(extreme.Reading(0), 0);
}

TEST(LiveReading, DisplayUnitScalesBarsAndTotalButNotTheLoads) {
    const FrameUpdate half = ComputeReadings(Frame(100), {0.5, 3, "x"}, "Total");
    EXPECT_EQ(half.loads[4], 300);
    EXPECT_EQ(half.displayValues[4], 150);
    EXPECT_EQ(half.totalText, "Total: 1800 x");
    // Truncated toward zero, each rope and the total on their own.
    const FrameUpdate lbs = ComputeReadings(Frame(1), {2.2046, 1, "lbs"}, "Gesamt");
    EXPECT_EQ(lbs.displayValues[0], 2);
    EXPECT_EQ(lbs.totalDisplay, 26); // 12 x 2.2046 = 26.45
    EXPECT_EQ(DisplayValue(-7, 0.5), -3);
}

TEST(LiveReading, FrameValidityAndMarks) {
    LiveFrame f = Frame(10, 0);
    EXPECT_TRUE(f.IsValid());
    f.bytes[4 + 3 * 5] = 7;
    const FrameUpdate u = ComputeReadings(f, {}, "Gesamt");
    EXPECT_TRUE(u.marked[5]);
    EXPECT_FALSE(u.marked[4]);
    f.bytes[0] = 0x4D;
    EXPECT_FALSE(f.IsValid());
    f.bytes[0] = LiveFrame::kMarker;
    f.bytes[39] = 0x0A;
    EXPECT_FALSE(f.IsValid());
}
