#include "BarTextFormat.h"
#include "ProgressCtrl.h"

#include <QFont>

#include <gtest/gtest.h>

using namespace tensiq;

namespace {

TEST(BarTextFormat, IntegerConversionsTakeTheValueAndOthersStayText) {
    EXPECT_EQ(FormatBarText(QStringLiteral("%d%%"), 50), QStringLiteral("50%"));
    EXPECT_EQ(FormatBarText(QStringLiteral("%5d kg"), 42), QStringLiteral("   42 kg"));
    EXPECT_EQ(FormatBarText(QStringLiteral("%s %d"), 7), QStringLiteral("%s 7"));
    EXPECT_EQ(FormatBarText(QStringLiteral("%x|%d"), 255), QStringLiteral("ff|255"));
    EXPECT_EQ(FormatBarText(QStringLiteral("100%"), 1), QStringLiteral("100%"));
    EXPECT_EQ(FormatBarText(QStringLiteral("Seil"), 1), QStringLiteral("Seil"));
}

TEST(ProgressCtrl, StepItStartsOverPastTheEnd) {
    CProgressCtrl bar;
    bar.SetRange(0, 100);
    bar.SetStep(30);
    for (int i = 0; i < 3; ++i)
        bar.StepIt();
    EXPECT_EQ(bar.GetPos(), 90);
    EXPECT_EQ(bar.StepIt(), 90);
    EXPECT_EQ(bar.GetPos(), 20);
}

} // namespace
