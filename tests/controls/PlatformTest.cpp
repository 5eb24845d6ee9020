#include "BarTextFormat.h"
#include "DialogUnits.h"
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

TEST(DialogUnits, ConvertWithTheFontsBaseUnits) {
    const QRect r = DialogUnitsToPixels(QRect(10, 124, 32, 172), QSize(6, 13));
    EXPECT_EQ(r, QRect(15, 202, 48, 280)); // 10 x 6 / 4, 124 x 13 / 8 rounded, ...
    const QSize base = DialogBaseUnits(QFont(QStringLiteral("Liberation Sans"), 8));
    EXPECT_GT(base.width(), 3);
    EXPECT_GT(base.height(), base.width());
}

} // namespace
