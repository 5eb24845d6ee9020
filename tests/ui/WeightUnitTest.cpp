#include "WeightUnit.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

using namespace tensiq;
using namespace tensiq::unit_constants;

namespace {
std::uint64_t Bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}
} // namespace

TEST(WeightUnitConstants, AreTheseDoublesBitForBit) {
    EXPECT_EQ(Bits(kShortTonToKg), 0x408C59624B9C9FDDu);
    EXPECT_EQ(Bits(kKgToShortTon), 0x3F520F7D1495B43Cu);
    EXPECT_EQ(Bits(kShortTonDisplay), 0x3F520F7D1495B43Bu);
    EXPECT_EQ(Bits(kLongTonToKg), 0x408FC0579D6EE340u);
    EXPECT_EQ(Bits(kKgToLongTon), 0x3F502014017747A3u);
    EXPECT_EQ(Bits(kLongTonDisplay), 0x3F502014017747A3u);
    EXPECT_EQ(Bits(kPoundToKg), 0x3FDD06FE99E1395Bu);
    EXPECT_EQ(Bits(kKgToPound), 0x4001A3784A062B2Fu);
    EXPECT_EQ(Bits(kPoundDisplay), 0x4001A3784A062B2Eu);
}

TEST(WeightUnitConstants, AreTheNearestDoublesOfTheRatiosSaveTwoOneStepAway) {
    EXPECT_EQ(kShortTonToKg, 215000.0 / 237.0);
    EXPECT_EQ(kKgToShortTon, 237.0 / 215000.0);
    EXPECT_EQ(kLongTonToKg, 190000.0 / 187.0);
    EXPECT_EQ(kKgToLongTon, 187.0 / 190000.0);
    EXPECT_EQ(kPoundToKg, 83.0 / 183.0);
    EXPECT_EQ(std::abs(static_cast<long long>(Bits(kKgToPound) - Bits(183.0 / 83.0))), 1);
    EXPECT_EQ(std::abs(static_cast<long long>(Bits(kShortTonDisplay) - Bits(237.0 / 215000.0))), 1);
    EXPECT_EQ(kLongTonDisplay, kKgToLongTon);
}

TEST(WeightUnit, TextsFactorsAndBarBoundsPerUnit) {
    struct Case {
        int unit;
        const char* text;
        double factor;
        int bound;
    };
    for (const Case c :
         {Case{Kilogram, "kg", 1.0, 1000}, Case{ShortTon, "tn.sh.", kShortTonDisplay, 1},
          Case{LongTon, "tn.l.", kLongTonDisplay, 0}, Case{Pound, "lbs", kPoundDisplay, 2204},
          Case{7, "kg", 1.0, 1000}, Case{-1, "kg", 1.0, 1000}}) {
        EXPECT_STREQ(UnitText(c.unit), c.text) << c.unit;
        EXPECT_EQ(DisplayFactor(c.unit), c.factor) << c.unit;
        EXPECT_EQ(BarUpperBound(c.unit), c.bound) << c.unit;
    }
    EXPECT_TRUE(IsKnownUnit(Pound));
    EXPECT_FALSE(IsKnownUnit(7));
}

// Worked examples, bit for bit: the form's and the bars' conversions use different constants
// one step apart, and a swap shows here as the last bit.
TEST(WeightUnit, ConversionsUseTheirOwnConstantOrNoneAtAll) {
    EXPECT_EQ(Bits(FromKilograms(1.0, Pound)), 0x4001A3784A062B2Fu);
    EXPECT_EQ(FromKilograms(1000.0, Pound), 2204.8192771084341);
    EXPECT_EQ(ToKilograms(1.0, ShortTon), 907.17299578059067);
    EXPECT_EQ(Bits(FromKilograms(1.0, ShortTon)), 0x3F520F7D1495B43Cu);
    EXPECT_EQ(ToKilograms(2.0, LongTon), 2032.0855614973261);
    EXPECT_EQ(FromKilograms(1000.0, LongTon), 0.98421052631578942);
    EXPECT_EQ(ToKilograms(3.0, Pound), 1.360655737704918);
    for (int other : {0, 7, -1}) {
        EXPECT_EQ(ToKilograms(12.5, other), 12.5);
        EXPECT_EQ(FromKilograms(12.5, other), 12.5);
    }
}
