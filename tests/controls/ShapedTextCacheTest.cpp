// Laid-out strings are kept per font: a font change must not draw with the old measures.

#include "ShapedTextCache.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace tensiq;

TEST(ShapedTextCache, MeasuresFollowTheFontAndTheText) {
    ShapedTextCache cache;
    QFont small;
    small.setPixelSize(10);
    QFont large = small;
    large.setPixelSize(30);

    const int smallAdvance = cache.Get(QStringLiteral("1000"), small).advance;
    EXPECT_EQ(smallAdvance, QFontMetrics(small).horizontalAdvance(QStringLiteral("1000")));
    EXPECT_EQ(cache.Get(QStringLiteral("1000"), small).advance, smallAdvance);

    const ShapedTextCache::Shaped& big = cache.Get(QStringLiteral("1000"), large);
    EXPECT_EQ(big.advance, QFontMetrics(large).horizontalAdvance(QStringLiteral("1000")));
    EXPECT_GT(big.advance, smallAdvance);
    EXPECT_EQ(big.ascent, QFontMetrics(large).ascent());
    EXPECT_EQ(big.descent, QFontMetrics(large).descent());
    EXPECT_EQ(big.glyphs.text(), QStringLiteral("1000"));

    EXPECT_LT(cache.Get(QStringLiteral("1"), large).advance, big.advance);
}
