#include "FieldFormat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>
#include <string>

using namespace tensiq;

TEST(FieldFormatPrint, PrintsLikePercentGAtTheGivenPrecision) {
    EXPECT_EQ(FormatReal(1000.0 * 2.204819277108434, kDoublePrecision), "2204.81927710843");
    EXPECT_EQ(FormatReal(0.0, kDoublePrecision), "0");
    EXPECT_EQ(FormatReal(12.0, kDoublePrecision), "12");
    EXPECT_EQ(FormatReal(-0.5, kDoublePrecision), "-0.5");
    EXPECT_EQ(FormatReal(1e20, kDoublePrecision), "1e+20");
    EXPECT_EQ(FormatReal(0.0001234, kDoublePrecision), "0.0001234");
    EXPECT_EQ(FormatReal(static_cast<float>(7 * 0.1), kFloatPrecision), "0.7");
    EXPECT_EQ(FormatReal(9.9f, kFloatPrecision), "9.9");
    EXPECT_EQ(FormatReal(1234567.0f, kFloatPrecision), "1.23457e+06");
    EXPECT_EQ(FormatUnsigned(12), "12");
    EXPECT_EQ(FormatUnsigned(4294967295u), "4294967295");
}

TEST(FieldFormatCut, KeepsTheFirst31CharactersNotBytes) {
    const std::string digits(40, '7');
    EXPECT_EQ(CutFieldText(digits), std::string(31, '7'));
    EXPECT_EQ(CutFieldText("12.5"), "12.5");
    std::string umlauts;
    for (int i = 0; i < 40; ++i)
        umlauts += "\xC3\xA4"; // ä
    EXPECT_EQ(CutFieldText(umlauts), umlauts.substr(0, 62));
}

TEST(FieldFormatParse, WhatCountsAsANumber) {
    struct Case {
        const char* text;
        double value;
    };
    for (const Case c :
         {Case{"12.9", 12.9}, Case{"-0.5", -0.5}, Case{"  7 ", 7.0}, Case{"\t+3", 3.0},
          Case{".5", 0.5}, Case{"5.", 5.0}, Case{"1e3", 1000.0}, Case{"2.5E-1", 0.25},
          Case{"0", 0.0}, Case{"-0", 0.0}, Case{"2204.81927710843", 2204.81927710843}}) {
        double v = -99.0;
        EXPECT_TRUE(ParseReal(c.text, v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    for (const char* text : {"", " ", "abc", "12a", "1,5", "1.2.3", ".", "-", "+-1", "--1", "1e",
                             "1e+", "0x10", "inf", "-inf", "nan", "1e400", "1 2", "e5"}) {
        double v = 42.0;
        EXPECT_FALSE(ParseReal(text, v)) << text;
        EXPECT_EQ(v, 42.0) << "a refused text leaves the value alone: " << text;
    }
}

TEST(FieldFormatParse, WhatCountsAsAnUnsignedWholeNumber) {
    unsigned v = 5;
    EXPECT_TRUE(ParseUnsigned("12", v));
    EXPECT_EQ(v, 12u);
    EXPECT_TRUE(ParseUnsigned(" +13\t", v));
    EXPECT_EQ(v, 13u);
    EXPECT_TRUE(ParseUnsigned("0", v));
    EXPECT_EQ(v, 0u);
    EXPECT_TRUE(ParseUnsigned("99999999999", v)) << "a whole number, too large for the range";
    EXPECT_EQ(v, std::numeric_limits<unsigned>::max());
    for (const char* text : {"", "-1", "1.0", "1e2", "12a", "x", "+", "1 2", "0x1"}) {
        unsigned u = 77;
        EXPECT_FALSE(ParseUnsigned(text, u)) << text;
        EXPECT_EQ(u, 77u) << text;
    }
}

TEST(FieldFormatLocale, UsesThePointUnderAGermanLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "scripts/setup generates the de_DE.UTF-8 locale";
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.1f", 2.5);
    EXPECT_STREQ(printed, "2,5") << "the locale is really in force";

    EXPECT_EQ(FormatReal(2.5, kDoublePrecision), "2.5");
    EXPECT_EQ(FormatReal(2204.81927710843, kDoublePrecision), "2204.81927710843");
    double v = 0.0;
    EXPECT_TRUE(ParseReal("2.5", v));
    EXPECT_EQ(v, 2.5);
    EXPECT_FALSE(ParseReal("2,5", v));
    std::setlocale(LC_ALL, before.c_str());
}
