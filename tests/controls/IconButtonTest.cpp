#include "IconButton.h"
#include "ControlsTestSupport.h"
#include "CurrentResourceModule.h"
#include "GermanResources.h"
#include "GreyIcon.h"
#include "ResourceIcon.h"
#include "SysColors.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace tensiq;

namespace {

constexpr QRgb kMagenta = 0xFFFF00FF;

class IconButtonTest : public testing::Test {
protected:
    void SetUp() override {
        m_previous = CurrentResourceModule();
        SetCurrentResourceModule(test::TestResourceModule());
    }
    void TearDown() override { SetCurrentResourceModule(m_previous); }

private:
    const res::ResourceModule* m_previous = nullptr;
};

void SendMouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), w.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

TEST_F(IconButtonTest, IconIsCentredOnAButtonWithoutCaption) {
    CIconButton button;
    button.resize(61, 41);
    ASSERT_EQ(button.SetIcons(test::kMagentaIcon, 0), 0);
    const QRect icon =
        test::BoundingBox(test::Render(button), [](QRgb p) { return p == kMagenta; });
    EXPECT_EQ(icon, QRect(14, 4, 32, 32));
}

TEST_F(IconButtonTest, CaptionedButtonHasItsIconThreePixelsFromTheLeft) {
    CIconButton button;
    button.resize(150, 46);
    button.SetWindowText(QStringLiteral("Start"));
    button.SetIcons(test::kMagentaIcon, 0);
    const QImage image = test::Render(button);
    EXPECT_EQ(test::BoundingBox(image, [](QRgb p) { return p == kMagenta; }), QRect(3, 7, 32, 32));

    // The caption is centred in what the icon leaves.
    const QRgb face = ToQColor(GetSysColor(COLOR_BTNFACE)).rgb();
    const QRect text = test::BoundingBox(image, [&](QRgb p) { return p != face && p != kMagenta; });
    ASSERT_FALSE(text.isEmpty());
    EXPECT_NEAR(text.center().x(), (38 + 149) / 2.0, 2.0);
    EXPECT_NEAR(text.center().y(), 45 / 2.0, 3.0);
}

TEST_F(IconButtonTest, PressedMovesIconAndCaptionByOnePixelAndSinksTheEdge) {
    CIconButton button;
    button.resize(61, 41);
    button.SetIcons(test::kMagentaIcon, 0);
    button.setDown(true);
    const QImage image = test::Render(button);
    EXPECT_EQ(test::BoundingBox(image, [](QRgb p) { return p == kMagenta; }), QRect(15, 5, 32, 32));
    EXPECT_EQ(image.pixel(0, 0), ToQColor(GetSysColor(COLOR_BTNSHADOW)).rgb());
    EXPECT_EQ(image.pixel(60, 40), ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT)).rgb());
}

TEST(GreyIcon, PixelsFollowTheLuminanceFormulaAndBlackStaysBlack) {
    QImage icon(3, 3, QImage::Format_ARGB32);
    icon.fill(qRgba(0, 0, 0, 0));
    icon.setPixel(0, 0, qRgb(100, 150, 200));
    icon.setPixel(1, 0, qRgb(10, 20, 30));
    icon.setPixel(0, 1, qRgb(255, 0, 0));
    icon.setPixel(1, 1, qRgb(0, 0, 0));
    const QImage grey = CreateGrayscaleIcon(icon);
    ASSERT_EQ(grey.size(), QSize(2, 2));              // twice the hot spot
    EXPECT_EQ(grey.pixel(0, 0), qRgb(140, 140, 140)); // 88.05 + 22.8 + 29.9
    EXPECT_EQ(grey.pixel(1, 0), qRgb(18, 18, 18));    // 11.74 + 3.42 + 2.99
    EXPECT_EQ(grey.pixel(0, 1), qRgb(76, 76, 76));
    EXPECT_EQ(grey.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(qAlpha(grey.pixel(1, 1)), 255);
}

TEST_F(IconButtonTest, GreyOutIconShowsUntilTheMouseIsOver) {
    CIconButton button;
    button.resize(61, 41);
    button.SetIcons(test::kMagentaIcon, CIconButton::kGreyCopy);
    ASSERT_FALSE(button.IconOut().isNull());
    const int grey = static_cast<int>(0 * 0.587 + 255 * 0.114 + 255 * 0.299);
    EXPECT_EQ(button.IconOut().pixel(0, 0), qRgb(grey, grey, grey));

    QImage image = test::Render(button);
    EXPECT_EQ(image.pixel(20, 20), qRgb(grey, grey, grey));
    SendMouse(button, QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(button.IsHover());
    image = test::Render(button);
    EXPECT_EQ(image.pixel(20, 20), kMagenta);
    EXPECT_EQ(image.pixel(0, 0), ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT)).rgb());
}

TEST_F(IconButtonTest, MissingIconLeavesTheCaptionOnly) {
    CIconButton button;
    button.SetIcons(test::kMagentaIcon, 0);
    EXPECT_EQ(button.SetIcons(999, 0), 0);
    EXPECT_TRUE(button.IconIn().isNull());
    SetCurrentResourceModule(nullptr);
    button.SetIcons(test::kMagentaIcon, 0);
    EXPECT_TRUE(button.IconIn().isNull());
}

TEST_F(IconButtonTest, UnusableIconReleasesBoth) {
    CIconButton button;
    button.SetIcons(test::kMagentaIcon, 0);
    EXPECT_EQ(button.SetIconHandles(QImage(32, 32, QImage::Format_ARGB32),
                                    QImage(1, 1, QImage::Format_ARGB32)),
              1);
    EXPECT_TRUE(button.IconIn().isNull());
    EXPECT_TRUE(button.IconOut().isNull());
}

TEST_F(IconButtonTest, HoverDoesNotStartWhileTheMouseButtonIsHeld) {
    CIconButton button;
    button.resize(60, 40);
    SendMouse(button, QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(button.IsHover());
    SendMouse(button, QEvent::MouseMove, {11, 10}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(button.IsHover());
    // Once started, holding the button keeps it.
    SendMouse(button, QEvent::MouseMove, {12, 10}, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(button.IsHover());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.IsHover());
}

TEST_F(IconButtonTest, DisablingMovesTheFocusOnAndEndsHover) {
    QWidget parent;
    CIconButton a(&parent), b(&parent), c(&parent);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    a.setFocus();
    ASSERT_TRUE(a.hasFocus());
    b.resize(60, 40);
    SendMouse(b, QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(b.IsHover());
    b.setEnabled(false);
    EXPECT_TRUE(c.hasFocus()) << "the control after the disabled one, which had no focus";
    EXPECT_FALSE(b.IsHover());
    c.setEnabled(false);
    EXPECT_TRUE(a.hasFocus()) << "the tab order wraps round";
}

TEST_F(IconButtonTest, DisablingTheOnlyButtonGivesTheFocusToTheParent) {
    QWidget parent;
    CIconButton only(&parent);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    only.setFocus();
    ASSERT_TRUE(only.hasFocus());
    only.setEnabled(false);
    EXPECT_TRUE(parent.hasFocus());
}

TEST(IconButtonModule, IconsComeFromTheModuleTheLanguageChoiceMadeCurrent) {
    // No set-up: the program's own module is current until a language library is chosen.
    ASSERT_EQ(CurrentResourceModule(), GermanResources());
    CIconButton button;
    EXPECT_EQ(button.SetIcons(130, 0), 0);
    ASSERT_FALSE(button.IconIn().isNull());
    EXPECT_EQ(button.IconIn(), LoadResourceIcon(GermanResources(), 130, 32));
    // As after the library is unloaded: nothing to load from, so no icon.
    SetCurrentResourceModule(nullptr);
    button.SetIcons(130, 0);
    SetCurrentResourceModule(GermanResources());
    EXPECT_TRUE(button.IconIn().isNull());
}

TEST_F(IconButtonTest, DoubleClickActsAsTwoClicks) {
    CIconButton button;
    button.resize(60, 40);
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
    const QPoint at(10, 10);
    SendMouse(button, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(button, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    SendMouse(button, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(button, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicks, 2);
}

TEST_F(IconButtonTest, DefaultStateFollowsTheStyleAndTheButtonStaysOwnerDrawn) {
    CIconButton start(nullptr, BS_DEFPUSHBUTTON);
    CIconButton quit(nullptr, BS_PUSHBUTTON);
    EXPECT_EQ(start.OnGetDlgCode() & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON),
              DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(quit.OnGetDlgCode() & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON),
              DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(start.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(start.isDefault());

    start.SetButtonStyle(BS_PUSHBUTTON, TRUE);
    quit.SetButtonStyle(BS_DEFPUSHBUTTON, TRUE);
    EXPECT_FALSE(start.IsDefault());
    EXPECT_TRUE(quit.IsDefault());
    EXPECT_EQ(quit.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
    // Another type leaves the default state alone.
    quit.SetButtonStyle(0x0003, TRUE);
    EXPECT_TRUE(quit.IsDefault());
}

TEST_F(IconButtonTest, CheckModeTogglesOnClickAndDrawsCheckedAsPressed) {
    CIconButton button(nullptr, BS_CHECKBOX);
    button.resize(61, 41);
    ASSERT_TRUE(button.IsCheckMode());
    button.SetIcons(test::kMagentaIcon, 0);
    button.click();
    EXPECT_EQ(button.GetCheck(), TRUE);
    const QImage image = test::Render(button);
    EXPECT_EQ(image.pixel(0, 0), ToQColor(GetSysColor(COLOR_BTNSHADOW)).rgb());
    // Checked is pressed, but the icon does not move in check mode.
    EXPECT_EQ(test::BoundingBox(image, [](QRgb p) { return p == kMagenta; }), QRect(14, 4, 32, 32));
    button.click();
    EXPECT_EQ(button.GetCheck(), FALSE);

    CIconButton plain;
    plain.SetCheck(TRUE, TRUE);
    EXPECT_EQ(plain.GetCheck(), FALSE);
}

TEST_F(IconButtonTest, ToolTipWrapsAtFourHundredPixels) {
    CIconButton button;
    button.SetToolTip(QString(), TRUE);
    EXPECT_EQ(button.GetToolTip(), nullptr);

    const QString text = QStringLiteral("Starten den Seilspannungs-Assistenten zur komfortablen "
                                        "Einstellung der Seile. Starten den Seilspannungs-"
                                        "Assistenten zur komfortablen Einstellung der Seile");
    button.SetToolTip(text, TRUE);
    CToolTipCtrl* tip = button.GetToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->GetMaxTipWidth(), 400);
    EXPECT_EQ(tip->GetTipText(), text);
    EXPECT_TRUE(tip->IsActive());
    EXPECT_LE(tip->width(), 400);
    EXPECT_GT(tip->height(), 2 * QFontMetrics(tip->font()).height());

    button.SetToolTip(QStringLiteral("Start"), FALSE);
    EXPECT_EQ(tip->GetToolCount(), 1);
    EXPECT_FALSE(tip->IsActive());
    EXPECT_LT(tip->height(), 2 * QFontMetrics(tip->font()).height());
}

} // namespace
