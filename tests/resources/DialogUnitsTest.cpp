#include "DialogUnits.h"
#include "ModuleSet.h"
#include "ResourceIds.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QRawFont>

#include <gtest/gtest.h>

using namespace tensiq;
using namespace tensiq::res;

TEST(DialogFont, TemplateFacesMapToInstalledSansFonts) {
    const QString dialog = DialogFontFamily(QStringLiteral("MS Sans Serif"));
    EXPECT_TRUE(dialog == QLatin1String("Liberation Sans") ||
                dialog == QLatin1String("DejaVu Sans"))
        << dialog.toStdString();
    EXPECT_EQ(DialogFontFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    // Really installed: Qt resolves the font to that family, not a fallback.
    EXPECT_EQ(QFontInfo(DialogFont(QStringLiteral("MS Sans Serif"), 8)).family(), dialog);
    EXPECT_EQ(QFontInfo(DialogFont(QStringLiteral("Arial"), 16)).family(),
              QStringLiteral("Liberation Sans"));
}

TEST(DialogFont, ChineseTextsHaveAFont) {
    const QRawFont raw = QRawFont::fromFont(DialogFont(QStringLiteral("MS Sans Serif"), 8),
                                            QFontDatabase::SimplifiedChinese);
    ASSERT_TRUE(raw.isValid());
    for (char32_t c : {U'总', U'计', U'绳', U'继', U'电', U'器'})
        EXPECT_TRUE(raw.supportsCharacter(static_cast<uint>(c))) << static_cast<unsigned>(c);
}

TEST(DialogUnits, FourUnitsAreOneCharacterWideAndEightOneHigh) {
    const DialogUnits units(DialogFont(QStringLiteral("MS Sans Serif"), 8));
    // An 8-point sans font at 96 dpi: characters of about 6 x 13 pixels.
    EXPECT_GE(units.BaseX(), 5);
    EXPECT_LE(units.BaseX(), 8);
    EXPECT_GE(units.BaseY(), 11);
    EXPECT_LE(units.BaseY(), 16);
    EXPECT_EQ(units.ToPixelsX(4), units.BaseX());
    EXPECT_EQ(units.ToPixelsY(8), units.BaseY());
    EXPECT_EQ(units.ToPixelsX(400), 100 * units.BaseX());
    EXPECT_EQ(units.ToPixelsY(0), 0);
}

TEST(DialogUnits, RoundsToTheNearestPixel) {
    const DialogUnits units(DialogFont(QStringLiteral("MS Sans Serif"), 8));
    for (int u = 0; u < 600; ++u) {
        const double exactX = u * units.BaseX() / 4.0;
        const double exactY = u * units.BaseY() / 8.0;
        EXPECT_LE(std::abs(units.ToPixelsX(u) - exactX), 0.5) << u;
        EXPECT_LE(std::abs(units.ToPixelsY(u) - exactY), 0.5) << u;
    }
}

TEST(DialogUnits, TouchingRectanglesStayTouching) {
    const DialogUnits units(DialogFont(QStringLiteral("MS Sans Serif"), 8));
    // 1006 ends where 1007 begins in units only if y + cy meets; here two made-up neighbours.
    const QRect left = units.ToPixels(7, 9, 33, 13);
    const QRect right = units.ToPixels(40, 22, 17, 5);
    EXPECT_EQ(left.x() + left.width(), right.x());
    EXPECT_EQ(left.y() + left.height(), right.y());
}

TEST(DialogUnits, MainWindowControlsFitTheClientAreaInEveryLanguage) {
    test::ModuleSet modules;
    ASSERT_TRUE(modules.Loaded());
    for (const auto& [name, module] : modules.All()) {
        const DialogTemplate* dialog = FindDialog(module, kMainDialog);
        ASSERT_NE(dialog, nullptr) << name;
        const DialogUnits units(*dialog);
        const QRect client(QPoint(0, 0), units.ClientSize(*dialog));
        for (std::size_t i = 0; i < dialog->controlCount; ++i) {
            const QRect r = units.ToPixels(dialog->controls[i]);
            EXPECT_TRUE(client.contains(r)) << name << " control " << dialog->controls[i].id;
            // Pixels overlap exactly where units do: no new overlap from rounding.
            for (std::size_t j = i + 1; j < dialog->controlCount; ++j) {
                const DialogControl& a = dialog->controls[i];
                const DialogControl& b = dialog->controls[j];
                const bool unitsOverlap =
                    a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
                EXPECT_EQ(r.intersects(units.ToPixels(b)), unitsOverlap) << a.id << " " << b.id;
            }
        }
    }
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
