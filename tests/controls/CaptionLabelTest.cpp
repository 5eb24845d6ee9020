#include "CaptionLabel.h"
#include "ControlsTestSupport.h"
#include "SysColors.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QSet>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using namespace tensiq;

namespace {

class CountingLabel : public CCaptionLabel {
public:
    using CCaptionLabel::CCaptionLabel;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        CCaptionLabel::paintEvent(event);
    }
};

// Collects the links the desktop is asked to open.
class UrlSink : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
    UrlSink() {
        for (const char* scheme : {"https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~UrlSink() override {
        for (const char* scheme : {"https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

void Click(QWidget& widget) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), widget.mapToGlobal(QPointF(3, 3)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

// The rightmost column that holds a pixel other than the background.
int RightmostInk(const QImage& image, QRgb background) {
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != background)
                return x;
    return -1;
}

QRect InkBox(const QImage& image, QRgb background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

int LeftmostInk(const QImage& image, QRgb background) {
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != background)
                return x;
    return -1;
}

TEST(CaptionLabel, AfterInitialisationShowsTheTotalInBoldSixteenPointArial) {
    CCaptionLabel label;
    label.resize(test::LabelSize());
    label.SetPointSize(16).SetFaceName(QStringLiteral("Arial"), 0).SetBold(TRUE);
    label.SetCaption(QStringLiteral("%1: 0 kg").arg(QStringLiteral("Gesamt")), TRUE);
    EXPECT_EQ(label.GetCaption(), QStringLiteral("Gesamt: 0 kg"));

    const QFont& font = label.GetLabelFont();
    EXPECT_EQ(font.family(), QStringLiteral("Arial"));
    EXPECT_EQ(font.weight(), QFont::Bold);
    const int pixels = static_cast<int>(std::lround(16 * label.logicalDpiY() / 72.0));
    EXPECT_EQ(font.pixelSize(), pixels);
    // What the font database gives for it: Arial's metric twin, bold, at that size.
    const QFontInfo used(font);
    EXPECT_EQ(used.family(), QStringLiteral("Liberation Sans"));
    EXPECT_TRUE(used.bold());
    EXPECT_EQ(used.pixelSize(), pixels);

    const QImage image = test::Render(label);
    const QRgb face = ToQColor(GetSysColor(COLOR_BTNFACE)).rgb();
    const QRgb text = ToQColor(GetSysColor(COLOR_WINDOWTEXT)).rgb();
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), face);
    EXPECT_LE(LeftmostInk(image, face), 2);
    bool textColourSeen = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            textColourSeen = textColourSeen || image.pixel(x, y) == text;
    EXPECT_TRUE(textColourSeen);

    // The text on the screen has that font's extent, so painting really used it.
    QFont twin(QStringLiteral("Liberation Sans"));
    twin.setBold(true);
    twin.setPixelSize(pixels);
    const QRect expected = QFontMetrics(twin).tightBoundingRect(label.GetCaption());
    const QRect ink = InkBox(image, face);
    EXPECT_NEAR(ink.width(), expected.width(), 2);
    EXPECT_NEAR(ink.height(), expected.height(), 2);
}

TEST(CaptionLabel, SameCaptionTwiceRepaintsOnce) {
    QWidget parent;
    parent.resize(300, 60);
    CountingLabel label(&parent);
    label.setGeometry(5, 5, 200, 30);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QApplication::processEvents();
    label.paints = 0;

    label.SetCaption(QStringLiteral("Gesamt: 12 kg"), TRUE);
    EXPECT_EQ(label.paints, 1);
    label.SetCaption(QStringLiteral("Gesamt: 12 kg"), TRUE);
    EXPECT_EQ(label.paints, 1);
    label.SetCaption(QStringLiteral("Gesamt: 13 kg"), FALSE);
    EXPECT_EQ(label.paints, 1);
    EXPECT_EQ(label.GetCaption(), QStringLiteral("Gesamt: 13 kg"));
}

TEST(CaptionLabel, CaptionFromAnotherThreadArrivesOnTheLabelsThread) {
    CCaptionLabel label;
    std::thread([&] { label.SetCaption(QStringLiteral("Gesamt: 7 kg"), TRUE); }).join();
    EXPECT_TRUE(label.GetCaption().isEmpty());
    QApplication::processEvents();
    EXPECT_EQ(label.GetCaption(), QStringLiteral("Gesamt: 7 kg"));
}

TEST(CaptionLabel, TabIsExpanded) {
    CCaptionLabel label;
    label.resize(300, 30);
    label.SetBackground(RGB(255, 255, 255));
    label.SetCaption(QStringLiteral("A B"), TRUE);
    const int spaced = RightmostInk(test::Render(label), qRgb(255, 255, 255));
    label.SetCaption(QStringLiteral("A\tB"), TRUE);
    const int tabbed = RightmostInk(test::Render(label), qRgb(255, 255, 255));
    const int tabStop = 8 * QFontMetrics(label.GetLabelFont()).horizontalAdvance(QLatin1Char('x'));
    EXPECT_GE(tabbed, tabStop);
    EXPECT_GT(tabbed, spaced + 10);
}

TEST(CaptionLabel, StyleChoosesTheAlignment) {
    CCaptionLabel left;
    CCaptionLabel right(nullptr, SS_RIGHT);
    CCaptionLabel centre(nullptr, SS_CENTER | SS_CENTERIMAGE);
    for (CCaptionLabel* label : {&left, &right, &centre}) {
        label->resize(200, 40);
        label->SetBackground(RGB(255, 255, 255)).SetCaption(QStringLiteral("Seil"), TRUE);
    }
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_LE(LeftmostInk(test::Render(left), white), 2);
    EXPECT_GE(RightmostInk(test::Render(right), white), 196);
    const QImage c = test::Render(centre);
    EXPECT_NEAR((LeftmostInk(c, white) + RightmostInk(c, white)) / 2.0, 100, 3);
}

TEST(CaptionLabel, GradientUsesAtMostOneHundredBands) {
    CCaptionLabel label;
    label.resize(300, 10);
    label.SetBackground(RGB(0, 0, 0), RGB(250, 0, 0), TRUE);
    QImage image = test::Render(label);
    QSet<QRgb> colours;
    for (int x = 0; x < image.width(); ++x)
        colours.insert(image.pixel(x, 5));
    EXPECT_EQ(colours.size(), 100);
    EXPECT_EQ(image.pixel(0, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(299, 5), qRgb(247, 0, 0)); // 99 steps of 2.5, in 1/256ths
    EXPECT_EQ(image.pixel(0, 9), qRgb(0, 0, 0));     // the bottom row is filled too

    // Narrower than 100 pixels: one band per pixel.
    label.resize(40, 10);
    image = test::Render(label);
    colours.clear();
    for (int x = 0; x < image.width(); ++x)
        colours.insert(image.pixel(x, 5));
    EXPECT_EQ(colours.size(), 40);
}

TEST(CaptionLabel, ShadowIsASecondCopyShiftedByOnePixel) {
    CCaptionLabel label(nullptr, SS_CENTER);
    label.resize(200, 30);
    label.SetBackground(RGB(255, 255, 255)).SetForeColor(RGB(0, 0, 0));
    label.SetCaption(QStringLiteral("Gesamt"), TRUE);
    const QRgb white = qRgb(255, 255, 255);
    const int plain = RightmostInk(test::Render(label), white);
    label.SetShadowColor(RGB(255, 0, 0)).SetShadowText(TRUE, 1);
    const QImage shadowed = test::Render(label);
    EXPECT_EQ(RightmostInk(shadowed, white), plain + 1);
    label.SetShadowText(TRUE, 0);
    EXPECT_EQ(LeftmostInk(test::Render(label), white), LeftmostInk(shadowed, white) - 1);
}

TEST(CaptionLabel, BlinkingTextTakesTheBackgroundColourInItsFirstPhase) {
    CCaptionLabel label;
    label.resize(200, 30);
    label.SetBackground(RGB(0, 0, 255)).SetForeColor(RGB(255, 255, 255));
    label.SetCaption(QStringLiteral("Gesamt"), TRUE);
    label.BlinkText(TRUE);
    const auto inked = [&] { return RightmostInk(test::Render(label), qRgb(0, 0, 255)) >= 0; };
    EXPECT_FALSE(inked());
    QTest::qWait(600);
    EXPECT_TRUE(inked());
    label.BlinkText(FALSE);
    EXPECT_TRUE(inked());
}

TEST(CaptionLabel, LinkClickOpensTheTargetOrTheWindowText) {
    UrlSink sink;
    CCaptionLabel label;
    label.SetWindowText(QStringLiteral("service@example.invalid"));
    label.SetUrlLink(TRUE, FALSE).SetLinkTarget(QStringLiteral("https://example.invalid/tq"));
    EXPECT_NE(label.GetStyle() & SS_NOTIFY, 0u);
    Click(label);
    label.SetMailtoLink(TRUE, FALSE);
    Click(label);
    ASSERT_EQ(sink.opened.size(), 2);
    EXPECT_EQ(sink.opened[0], QUrl(QStringLiteral("https://example.invalid/tq")));
    EXPECT_EQ(sink.opened[1], QUrl(QStringLiteral("mailto:service@example.invalid")));

    label.SetMailtoLink(FALSE, FALSE);
    EXPECT_EQ(label.GetStyle() & SS_NOTIFY, 0u);
    Click(label);
    EXPECT_EQ(sink.opened.size(), 2);
}

TEST(CaptionLabel, NotifyModeReportsTheClickInsteadOfOpening) {
    UrlSink sink;
    CCaptionLabel label(nullptr, SS_LEFT, 1039);
    label.SetUrlLink(TRUE, TRUE).SetLinkTarget(QStringLiteral("https://example.invalid/"));
    int id = 0;
    unsigned code = 0;
    QObject::connect(&label, &CCaptionLabel::Notify, [&](int i, unsigned c) {
        id = i;
        code = c;
    });
    Click(label);
    EXPECT_EQ(id, 1039);
    EXPECT_EQ(code, 0x8200u);
    EXPECT_TRUE(sink.opened.isEmpty());
}

TEST(CaptionLabel, LongFaceNamesAreCutToTheDescriptionsSize) {
    CCaptionLabel label;
    label.SetFaceName(QString(40, QLatin1Char('F')), 0);
    EXPECT_EQ(FaceName(label.GetLogFont()), QString(31, QLatin1Char('F')));
    // A multibyte character is never split.
    label.SetFaceName(QString(30, QLatin1Char('F')) + QChar(0x00DC), 0);
    EXPECT_EQ(FaceName(label.GetLogFont()), QString(30, QLatin1Char('F')));
}

} // namespace

#include "CaptionLabelTest.moc"
