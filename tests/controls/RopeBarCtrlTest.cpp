#include "RopeBarCtrl.h"
#include "ControlsTestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

using namespace tensiq;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kLightYellow = 0xFFFFFF80;

// The main window's bar: bordered, vertical, smooth.
struct MainBar {
    CRopeBarCtrl bar{nullptr, WS_BORDER | PBS_SMOOTH | PBS_VERTICAL};
    MainBar() {
        bar.resize(test::BarSize());
        test::ConfigureAsMainWindowBar(bar);
    }
    // The client area as an image of its own.
    QImage Client() { return test::Render(bar).copy(bar.ClientArea()); }
};

bool IsDark(QRgb c) {
    return qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100;
}

int Count(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& wanted) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += wanted(image.pixel(x, y)) ? 1 : 0;
    return n;
}

// The rows of the filled part, counted from the bottom of the client area.
int FilledRows(const QImage& client, int column, QRgb background) {
    int rows = 0;
    for (int y = client.height() - 1; y >= 0 && client.pixel(column, y) != background; --y)
        ++rows;
    return rows;
}

TEST(RopeBarCtrl, AtZeroShowsTheBackgroundAndABlackCentredZero) {
    MainBar m;
    m.bar.SetPos(0);
    const QImage c = m.Client();
    EXPECT_EQ(FilledRows(c, 0, kWhite), 0);
    const QRect text = test::BoundingBox(c, IsDark);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_NEAR(text.center().x(), (c.width() - 1) / 2.0, 1.5);
    EXPECT_NEAR(text.center().y(), (c.height() - 1) / 2.0, 2.0);
    // Nothing but white and the black text's grey edges.
    EXPECT_EQ(Count(c, c.rect(), [](QRgb p) { return qRed(p) != qBlue(p); }), 0);
}

TEST(RopeBarCtrl, HalfFullBarCarriesTheGradientFixedByHeight) {
    MainBar half;
    half.bar.SetPos(500);
    MainBar full;
    full.bar.SetPos(1000);
    const QImage h = half.Client();
    const QImage f = full.Client();
    const int length = h.height();
    const int end = 500 * length / 1000;
    EXPECT_EQ(FilledRows(h, 0, kWhite), end);

    // The foot is the first colour; the lower half matches the full bar row for row.
    EXPECT_EQ(h.pixel(0, length - 1), qRgb(0, 0, 160));
    for (int y = length - end; y < length; ++y)
        ASSERT_EQ(h.pixel(0, y), f.pixel(0, y)) << "row " << y;
    // The top of a full bar: one step short of the second colour.
    EXPECT_EQ(f.pixel(0, 0), qRgb(0, 127, 191));
}

TEST(RopeBarCtrl, TextIsWhiteOverTheBarAndBlackAboveIt) {
    MainBar m;
    m.bar.SetPos(500);
    const QImage c = m.Client();
    const int edge = c.height() - 500 * c.height() / 1000; // first filled row
    const QRect text = test::BoundingBox(c, [](QRgb p) { return p != kWhite && qBlue(p) < 150; });
    ASSERT_FALSE(text.isEmpty());
    // The number straddles the edge of the bar.
    ASSERT_LT(text.top(), edge);
    const QRect above(0, 0, c.width(), edge);
    const QRect over(0, edge, c.width(), c.height() - edge);
    EXPECT_GT(Count(c, above, IsDark), 0);
    EXPECT_EQ(Count(c, above, [](QRgb p) { return qRed(p) != qBlue(p); }), 0);
    // Over the bar: light text pixels and no black ones (the gradient's red is 0).
    EXPECT_GT(Count(c, over, [](QRgb p) { return qRed(p) > 200; }), 0);
    EXPECT_EQ(Count(c, over, [](QRgb p) { return qBlue(p) < 100; }), 0);
}

TEST(RopeBarCtrl, TargetTurnsTheBarGreenWithinTwoPercentAndRedOutside) {
    MainBar m;
    m.bar.SetTarget(400, TRUE);
    m.bar.SetPos(395);
    QImage c = m.Client();
    EXPECT_EQ(c.pixel(0, c.height() - 1), qRgb(0, 166, 0));
    EXPECT_EQ(c.pixel(0, 0), kLightYellow);

    const int h = c.height();
    const int y = static_cast<int>(std::trunc(h - h * 400.0 / 1000));
    for (int row : {y - 3, y - 2, y - 1})
        EXPECT_EQ(c.pixel(0, row), qRgb(0, 0, 0)) << "row " << row;
    EXPECT_EQ(c.pixel(0, y - 4), kLightYellow);
    EXPECT_EQ(c.pixel(0, y), kLightYellow);

    m.bar.SetPos(390);
    c = m.Client();
    EXPECT_EQ(c.pixel(0, c.height() - 1), qRgb(166, 0, 0));

    m.bar.SetTarget(0, FALSE);
    c = m.Client();
    EXPECT_EQ(c.pixel(0, c.height() - 1), qRgb(0, 0, 160));
    EXPECT_EQ(c.pixel(0, y - 2), kWhite);
}

TEST(RopeBarCtrl, TwoPercentOfTheTargetIsStillGreenOneMoreIsRed) {
    MainBar m;
    m.bar.SetTarget(400, TRUE);
    for (const auto& [position, green] :
         {std::pair{392, true}, {391, false}, {408, true}, {409, false}}) {
        m.bar.SetPos(position);
        const QImage c = m.Client();
        EXPECT_EQ(c.pixel(0, c.height() - 1), green ? qRgb(0, 166, 0) : qRgb(166, 0, 0))
            << "position " << position;
    }
}

TEST(RopeBarCtrl, MarkerIsCoveredWhereTheBarReachesIt) {
    MainBar m;
    m.bar.SetTarget(400, TRUE);
    m.bar.SetPos(900);
    const QImage c = m.Client();
    const int h = c.height();
    const int y = static_cast<int>(std::trunc(h - h * 400.0 / 1000));
    // 900 is far from 400: the red bar paints over the marker's rows.
    for (int row : {y - 3, y - 2, y - 1}) {
        EXPECT_GT(qRed(c.pixel(0, row)), 166) << "row " << row;
        EXPECT_EQ(qGreen(c.pixel(0, row)), 0) << "row " << row;
    }
}

TEST(RopeBarCtrl, PositionOutsideTheRangeDrawsNoBarAndNoText) {
    MainBar m;
    m.bar.SetPos(800);
    m.bar.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 500));
    ASSERT_EQ(m.bar.SendMessage(PBM_GETPOS), 800);
    const QImage c = m.Client();
    EXPECT_EQ(Count(c, c.rect(), [](QRgb p) { return p != kWhite; }), 0);
}

// A load above the full scale fills the bar and keeps its own number: the bar's end is not the
// load. Back in range, the bar shows its position again.
TEST(RopeBarCtrl, ALoadAboveTheFullScaleFillsTheBarAndShowsItsOwnNumber) {
    MainBar m;
    m.bar.SetPos(1000);
    const QImage full = m.Client();
    m.bar.SetPos(1500);
    EXPECT_EQ(m.bar.GetPos(), 1000);
    EXPECT_EQ(m.bar.ShownValue(), 1500);
    const QImage above = m.Client();
    EXPECT_EQ(FilledRows(above, 2, kWhite), FilledRows(full, 2, kWhite));
    EXPECT_NE(above, full) << "the text must read 1500, not 1000";
    m.bar.SetPos(1000);
    EXPECT_EQ(m.bar.ShownValue(), 1000);
    EXPECT_EQ(m.Client(), full);
    // Relative moves are the progress control's own: they show the position.
    m.bar.SetPos(1500);
    m.bar.DeltaPos(-100);
    EXPECT_EQ(m.bar.ShownValue(), 900);
}

TEST(RopeBarCtrl, EmptyRangeDrawsBackgroundAndMarkerOnly) {
    MainBar m;
    m.bar.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(500, 500));
    m.bar.SetPos(500);
    m.bar.SetTarget(250, TRUE);
    QImage c = m.Client();
    const int h = c.height();
    const int y = static_cast<int>(std::trunc(h - h * 250.0 / 500));
    EXPECT_EQ(Count(c, c.rect(), [](QRgb p) { return p != kLightYellow && !IsDark(p); }), 0);
    EXPECT_EQ(c.pixel(0, y - 2), qRgb(0, 0, 0));

    // An upper bound of 0 leaves no height for the marker either.
    m.bar.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 0));
    m.bar.SetPos(0);
    c = m.Client();
    EXPECT_EQ(Count(c, c.rect(), [](QRgb p) { return p != kLightYellow; }), 0);
}

TEST(RopeBarCtrl, FewerThanTwoColoursDrawNoBar) {
    MainBar m;
    m.bar.SetTextFormat(QStringLiteral("%d"), 0);
    m.bar.SetPos(1000);
    m.bar.m_barColors = {RGB(200, 0, 0)};
    QImage c = m.Client();
    EXPECT_EQ(Count(c, c.rect(), [](QRgb p) { return p != kWhite; }), 0);
    m.bar.m_barColors.clear();
    c = m.Client();
    EXPECT_EQ(Count(c, c.rect(), [](QRgb p) { return p != kWhite; }), 0);
}

TEST(RopeBarCtrl, SetBarColorWithoutSecondColourGivesASolidBar) {
    MainBar m;
    m.bar.SetTextFormat(QString(), RLB_VALUE);
    m.bar.SetPos(1000);
    EXPECT_EQ(static_cast<COLORREF>(m.bar.SendMessage(PBM_SETBARCOLOR, 0, RGB(200, 30, 0))),
              CLR_DEFAULT);
    QImage c = m.Client();
    EXPECT_EQ(Count(c, c.rect(), [](QRgb p) { return p != qRgb(200, 30, 0); }), 0);

    // With a second colour: lParam at the foot, towards wParam at the top.
    m.bar.SendMessage(PBM_SETBARCOLOR, RGB(0, 0, 250), RGB(250, 0, 0));
    c = m.Client();
    EXPECT_EQ(c.pixel(0, c.height() - 1), qRgb(250, 0, 0));
    EXPECT_LT(qRed(c.pixel(0, 0)), 10);
    EXPECT_GT(qBlue(c.pixel(0, 0)), 240);
}

TEST(RopeBarCtrl, TextFormatsAndTheirRemoval) {
    MainBar m;
    m.bar.SetPos(0);
    m.bar.SetTextFormat(QStringLiteral("%d"), 0);
    EXPECT_EQ(m.bar.GetStyle() & RLB_TEXTMASK, 0u);
    EXPECT_TRUE(m.bar.GetWindowText().isEmpty());
    QImage c = m.Client();
    EXPECT_EQ(Count(c, c.rect(), [](QRgb p) { return p != kWhite; }), 0);

    // Percent text with its default format is wider than the plain value.
    m.bar.SetTextFormat(QString(), RLB_PERCENT);
    m.bar.ModifyStyle(0, RLB_PERCENT);
    c = m.Client();
    const QRect percent = test::BoundingBox(c, IsDark);
    m.bar.SetTextFormat(QStringLiteral("%d"), RLB_VALUE);
    c = m.Client();
    const QRect value = test::BoundingBox(c, IsDark);
    EXPECT_GT(percent.width(), value.width() + 3);
}

TEST(RopeBarCtrl, EscapementTurnsTheTextAboutTheCentre) {
    MainBar m;
    m.bar.SetTextFormat(QStringLiteral("%d kg"), RLB_VALUE);
    m.bar.SetPos(0);
    QImage c = m.Client();
    const QRect flat = test::BoundingBox(c, IsDark);
    for (int tenths : {900, 2700}) {
        m.bar.SetTextEscapement(tenths);
        c = m.Client();
        const QRect turned = test::BoundingBox(c, IsDark);
        EXPECT_GT(turned.height(), turned.width()) << tenths;
        EXPECT_NEAR(turned.height(), flat.width(), 2) << tenths;
        EXPECT_NEAR(turned.center().x(), (c.width() - 1) / 2.0, 2.0) << tenths;
        EXPECT_NEAR(turned.center().y(), (c.height() - 1) / 2.0, 2.0) << tenths;
    }
}

TEST(RopeBarCtrl, TextOnBarIsDrawnOnlyWhereItFits) {
    MainBar m;
    m.bar.ModifyStyle(0, RLB_TEXTONBAR);
    m.bar.SetPos(20); // a filled part a few pixels high
    QImage c = m.Client();
    EXPECT_EQ(Count(c, c.rect(), [](QRgb p) { return qRed(p) > 100 && p != kWhite; }), 0);
    m.bar.SetPos(600);
    c = m.Client();
    const int edge = c.height() - 600 * c.height() / 1000;
    const QRect text = test::BoundingBox(c, [](QRgb p) { return qRed(p) > 100 && p != kWhite; });
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.top(), edge);
    EXPECT_NEAR(text.center().y(), (edge + c.height() - 1) / 2.0, 2.0);
}

TEST(RopeBarCtrl, RunningSegmentWrapsAndReverses) {
    CRopeBarCtrl bar(nullptr, PBS_SMOOTH | PBS_VERTICAL | RLB_RUNNING);
    bar.resize(20, 100);
    bar.m_barColors = {RGB(0, 0, 200), RGB(0, 0, 200)};
    bar.m_bkColor = RGB(255, 255, 255);
    bar.SetRange(0, 100);
    for (int i = 0; i < 10; ++i)
        bar.SendMessage(PBM_STEPIT);
    EXPECT_EQ(bar.GetPos(), 100);
    EXPECT_EQ(bar.m_segmentTail, 60);
    // The head runs on past the upper bound while the tail catches up.
    for (int i = 0; i < 4; ++i)
        bar.SendMessage(PBM_STEPIT);
    EXPECT_EQ(bar.m_segmentTail, 100);
    EXPECT_EQ(bar.GetStyle() & RLB_REVERSE, 0u);
    QImage c = test::Render(bar);
    EXPECT_EQ(FilledRows(c, 0, kWhite), 0);

    bar.SendMessage(PBM_STEPIT);
    EXPECT_NE(bar.GetStyle() & RLB_REVERSE, 0u);
    EXPECT_EQ(bar.GetPos(), 10);
    EXPECT_EQ(bar.m_segmentTail, 0);
    // Reversed: the segment now hangs from the top.
    c = test::Render(bar);
    EXPECT_EQ(c.pixel(0, 0), qRgb(0, 0, 200));
    EXPECT_EQ(c.pixel(0, 9), qRgb(0, 0, 200));
    EXPECT_EQ(c.pixel(0, 10), kWhite);
    EXPECT_EQ(c.pixel(0, 99), kWhite);

    // An absolute position goes through the segment as well.
    bar.SendMessage(PBM_SETPOS, 70);
    EXPECT_EQ(bar.m_segmentTail, 30);
    c = test::Render(bar);
    EXPECT_EQ(c.pixel(0, 29), kWhite);
    EXPECT_EQ(c.pixel(0, 30), qRgb(0, 0, 200));
    EXPECT_EQ(c.pixel(0, 69), qRgb(0, 0, 200));
    EXPECT_EQ(c.pixel(0, 70), kWhite);
}

TEST(RopeBarCtrl, WithoutRunningSegmentTheMessagesAreThePlatformsOwn) {
    CRopeBarCtrl bar;
    bar.SetRange(0, 100);
    EXPECT_EQ(bar.SendMessage(PBM_SETPOS, 30), 0);
    EXPECT_EQ(bar.SendMessage(PBM_DELTAPOS, 25), 30);
    EXPECT_EQ(bar.GetPos(), 55);
    EXPECT_EQ(bar.SendMessage(PBM_SETSTEP, 20), 10);
    EXPECT_EQ(bar.m_step, 20);
    bar.SendMessage(PBM_STEPIT);
    EXPECT_EQ(bar.GetPos(), 75);
    EXPECT_EQ(bar.SendMessage(PBM_SETPOS, 500), 75);
    EXPECT_EQ(bar.GetPos(), 100);
    EXPECT_EQ(bar.SendMessage(PBM_GETRANGE, TRUE), 0);
    EXPECT_EQ(bar.SendMessage(PBM_GETRANGE, FALSE), 100);
    EXPECT_EQ(static_cast<COLORREF>(bar.SendMessage(PBM_SETBKCOLOR, 0, RGB(1, 2, 3))), CLR_DEFAULT);
    EXPECT_EQ(bar.m_bkColor, RGB(1, 2, 3));
}

TEST(RopeBarCtrl, MarginsInsetTheBarButNotTheBackground) {
    MainBar m;
    m.bar.m_margins = {3, 0, 4, 10};
    m.bar.SetTextFormat(QString(), 0);
    m.bar.SetPos(1000);
    const QImage c = m.Client();
    EXPECT_EQ(c.pixel(2, c.height() / 2), kWhite);
    EXPECT_NE(c.pixel(3, c.height() / 2), kWhite);
    EXPECT_NE(c.pixel(c.width() - 5, c.height() / 2), kWhite);
    EXPECT_EQ(c.pixel(c.width() - 4, c.height() / 2), kWhite);
    EXPECT_EQ(c.pixel(5, c.height() - 10), kWhite);
    EXPECT_EQ(c.pixel(5, c.height() - 11), qRgb(0, 0, 160));
}

} // namespace

// What reaches the window after a new position, painted only where the bar says it changed, is
// what a whole repaint would show: no stale edge, no stale number.
TEST(RopeBarCtrl, APositionChangeRepaintsAllThatItChanges) {
    QWidget window;
    window.resize(120, 320);
    auto* bar = new CRopeBarCtrl(&window, WS_BORDER | PBS_SMOOTH | PBS_VERTICAL);
    bar->setGeometry(QRect(QPoint(20, 20), test::BarSize()));
    test::ConfigureAsMainWindowBar(*bar);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const auto onScreen = [&] {
        QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
        return window.screen()
            ->grabWindow(window.winId(), bar->x(), bar->y(), bar->width(), bar->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    onScreen();
    // Small steps around the middle are small repaints.
    struct SmallPaints : QObject {
        int small = 0;
        bool eventFilter(QObject* bar, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                small += static_cast<QPaintEvent*>(e)->rect().height() <
                                 static_cast<QWidget*>(bar)->height() / 2
                             ? 1
                             : 0;
            return false;
        }
    } spy;
    bar->installEventFilter(&spy);
    // Up and down a little around the middle, across the number, to the ends and back.
    for (int pos : {500, 503, 497, 510, 490, 1000, 999, 0, 1, 250, 251, 750, 500, 504}) {
        bar->SetPos(pos);
        const QImage shown = onScreen();
        ASSERT_EQ(shown, test::Render(*bar)) << "after SetPos(" << pos << ")";
    }
    EXPECT_GE(spy.small, 6);

    // A larger font: the number's band grows with it.
    QFont large = bar->font();
    large.setPixelSize(60);
    bar->setFont(large);
    onScreen();
    for (int pos : {520, 480, 500}) {
        bar->SetPos(pos);
        ASSERT_EQ(onScreen(), test::Render(*bar))
            << "with the large font, after SetPos(" << pos << ")";
    }
}
