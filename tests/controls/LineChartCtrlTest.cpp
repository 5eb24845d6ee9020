#include "LineChartCtrl.h"
#include "ControlsTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <QThread>

#include <atomic>
#include <thread>

using namespace tensiq;

namespace {

constexpr QRgb kGrid = 0xFF008000;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kYellow = 0xFFFFFF00;
constexpr int kW = 200;
constexpr int kH = 300;

struct Chart {
    CLineChartCtrl chart;
    explicit Chart(bool mainWindowSeries = true) {
        chart.resize(kW, kH);
        if (mainWindowSeries)
            test::AddMainWindowSeries(chart);
    }
    QImage Buffer() const { return chart.GetBackBuffer(); }
};

int RowsOfColour(const QImage& image, int x, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

// The next advance of any chart draws a vertical grid line.
void BringGridToggleToZero() {
    if (CLineChartCtrl::GridToggle() == 0)
        return;
    Chart other;
    other.chart.Advance();
    ASSERT_EQ(CLineChartCtrl::GridToggle(), 0);
}

TEST(LineChartCtrl, FirstSeriesCreatesABlackFieldWithAnEightPixelGrid) {
    CLineChartCtrl chart;
    chart.resize(kW, kH);
    EXPECT_TRUE(chart.GetBackBuffer().isNull());
    chart.AddSeries(RGB(255, 255, 0), 1000, 0);
    const QImage b = chart.GetBackBuffer();
    ASSERT_EQ(b.size(), QSize(kW, kH));
    EXPECT_EQ(b.pixel(3, 3), kBlack);
    EXPECT_EQ(b.pixel(3, 7), kGrid);
    EXPECT_EQ(b.pixel(7, 3), kGrid);
    EXPECT_EQ(b.pixel(3, 15), kGrid);
    EXPECT_EQ(b.pixel(3, 8), kBlack);
    // Painting is a copy of the back buffer.
    EXPECT_EQ(test::Render(chart), b);
}

TEST(LineChartCtrl, ValuesMapFromFullScaleAtTheTopToZeroBelowTheBottom) {
    Chart c;
    c.chart.SetValue(0, 500);
    c.chart.SetValue(0, 500);
    c.chart.Advance();
    QImage b = c.Buffer();
    for (int x = kW - 5; x <= kW - 2; ++x)
        EXPECT_EQ(b.pixel(x, 150), kYellow) << "x " << x;
    EXPECT_NE(b.pixel(kW - 1, 150), kYellow); // the end point is not drawn
    EXPECT_NE(b.pixel(kW - 3, 149), kYellow);
    EXPECT_NE(b.pixel(kW - 3, 151), kYellow);

    // Above full scale: stored as full scale, drawn on the top row.
    EXPECT_EQ(c.chart.SetValue(0, 1500), 500u);
    EXPECT_EQ(c.chart.GetSeries(0).currentValue, 1000u);
    c.chart.SetValue(0, 1500);
    c.chart.Advance();
    b = c.Buffer();
    EXPECT_EQ(b.pixel(kW - 3, 0), kYellow);
    // The earlier segment has scrolled 4 pixels left.
    EXPECT_EQ(b.pixel(kW - 9, 150), kYellow);
    EXPECT_EQ(b.pixel(kW - 6, 150), kYellow);
}

TEST(LineChartCtrl, FirstAdvanceDrawsFromTheBottomEdge) {
    Chart c;
    c.chart.SetValue(0, 500);
    c.chart.Advance();
    const QImage b = c.Buffer();
    EXPECT_EQ(b.pixel(kW - 5, kH - 1), kYellow);
    EXPECT_EQ(b.pixel(kW - 1, 151), kYellow);
    EXPECT_NE(b.pixel(kW - 1, 150), kYellow);
    // Series 1 got no value: from h to h, nothing visible.
    Chart other;
    other.chart.SetValue(0, 0);
    other.chart.Advance();
    const QImage o = other.Buffer();
    for (int x = kW - 5; x < kW; ++x)
        EXPECT_NE(o.pixel(x, kH - 1), kYellow);
}

TEST(LineChartCtrl, VerticalGridLineEveryOtherAdvanceScrollsLeft) {
    BringGridToggleToZero();
    Chart c;
    c.chart.Advance();
    QImage b = c.Buffer();
    EXPECT_EQ(RowsOfColour(b, kW - 2, kGrid), kH);
    c.chart.Advance();
    b = c.Buffer();
    EXPECT_EQ(RowsOfColour(b, kW - 6, kGrid), kH);
    // The newest strip carries only the horizontal lines.
    for (int x = kW - 4; x < kW; ++x)
        EXPECT_EQ(RowsOfColour(b, x, kGrid), kH / 8) << "x " << x;
}

TEST(LineChartCtrl, GridToggleIsSharedByAllCharts) {
    BringGridToggleToZero();
    Chart first;
    Chart second;
    first.chart.Advance();
    second.chart.Advance();
    EXPECT_EQ(RowsOfColour(first.Buffer(), kW - 2, kGrid), kH);
    EXPECT_EQ(RowsOfColour(second.Buffer(), kW - 2, kGrid), kH / 8);
}

TEST(LineChartCtrl, IndexOutsideTheListChangesNothing) {
    Chart c;
    c.chart.SetValue(3, 700);
    EXPECT_EQ(c.chart.SetValue(12, 900), 0u);
    EXPECT_EQ(c.chart.SetValue(-1, 900), 0u);
    c.chart.SetFullScale(12, 5);
    for (int i = 0; i < 12; ++i) {
        const ChartSeries s = c.chart.GetSeries(i);
        EXPECT_EQ(s.fullScale, 1000u) << i;
        EXPECT_EQ(s.currentValue, i == 3 ? 700u : 0u) << i;
    }
    EXPECT_EQ(c.chart.GetSeriesCount(), 12);
}

TEST(LineChartCtrl, ValueBelowTheLowerBoundIsRaisedToIt) {
    Chart c(false);
    c.chart.AddSeries(RGB(255, 255, 0), 1100, 100);
    c.chart.SetValue(0, 50);
    EXPECT_EQ(c.chart.GetSeries(0).currentValue, 100u);
    // Measured from the lower bound: 600 of 100 ... 1100 is half way up.
    c.chart.SetValue(0, 600);
    c.chart.SetValue(0, 600);
    c.chart.Advance();
    EXPECT_EQ(c.Buffer().pixel(kW - 3, 150), kYellow);
}

TEST(LineChartCtrl, SeriesWithoutARangeDrawsNothing) {
    Chart c(false);
    c.chart.AddSeries(RGB(255, 255, 0), 0, 0);
    c.chart.SetValue(0, 0);
    c.chart.Advance();
    c.chart.Advance();
    const QImage b = c.Buffer();
    int yellow = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = kW - 8; x < kW; ++x)
            yellow += b.pixel(x, y) == kYellow ? 1 : 0;
    EXPECT_EQ(yellow, 0);
}

TEST(LineChartCtrl, NewFullScaleKeepsThePicture) {
    Chart c;
    c.chart.SetValue(0, 500);
    c.chart.SetValue(0, 500);
    c.chart.Advance();
    const QImage before = c.Buffer();
    for (int i = 0; i < 12; ++i)
        c.chart.SetFullScale(i, 2000);
    EXPECT_EQ(c.Buffer(), before);
    EXPECT_EQ(c.chart.GetSeries(0).currentValue, 500u);
    c.chart.SetValue(0, 500);
    c.chart.Advance();
    EXPECT_EQ(c.Buffer().pixel(kW - 3, 225), kYellow);
}

TEST(LineChartCtrl, LaterSeriesAreDrawnOverEarlierOnes) {
    Chart c;
    for (int i : {0, 2})
        for (int k = 0; k < 2; ++k)
            c.chart.SetValue(i, 250);
    c.chart.Advance();
    EXPECT_EQ(c.Buffer().pixel(kW - 3, 225), qRgb(0, 255, 255));
}

class CountingChart : public CLineChartCtrl {
public:
    std::atomic<int> paints{0};
    std::atomic<int> requests{0};
    std::atomic<int> requestsOffThread{0};

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        CLineChartCtrl::paintEvent(event);
    }
    void InvalidateClient() override {
        ++requests;
        if (QThread::currentThread() != thread())
            ++requestsOffThread;
        CLineChartCtrl::InvalidateClient();
    }
};

TEST(LineChartCtrl, AdvanceOnAnotherThreadRepaintsOnTheGuiThread) {
    CountingChart chart;
    chart.resize(kW, kH);
    test::AddMainWindowSeries(chart);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    QApplication::processEvents();
    chart.paints = 0;
    chart.requests = 0;
    std::thread feeder([&] {
        for (int i = 0; i < 50; ++i) {
            chart.SetValue(0, 500);
            chart.Advance();
        }
    });
    feeder.join();
    EXPECT_EQ(chart.requestsOffThread, 0) << "the feeding thread asked for a repaint itself";
    EXPECT_EQ(chart.paints, 0);
    for (int wait = 0; wait < 100 && chart.paints == 0; ++wait)
        QTest::qWait(10);
    EXPECT_EQ(chart.requests, 50) << "every advance is repainted, on the chart's thread";
    EXPECT_GT(chart.paints, 0);
    EXPECT_EQ(test::Render(chart).pixel(kW - 3, 150), kYellow);
}

// The grid as the first series draws it, over an area of an image (all of it by default).
int PixelsOffTheGrid(const QImage& image, QRect area = {}) {
    if (area.isNull())
        area = image.rect();
    int off = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const bool line = y % 8 == 7 || x % 8 == 7;
            off += image.pixel(x, y) != (line ? kGrid : kBlack) ? 1 : 0;
        }
    return off;
}

TEST(LineChartCtrl, SeriesAddedBeforeTheLayoutDoNotFixTheBufferSize) {
    QWidget window;
    CLineChartCtrl chart(&window);
    ASSERT_EQ(chart.size(), QSize(100, 30)) << "Qt's size for a child not yet laid out";
    test::AddMainWindowSeries(chart);
    chart.setGeometry(0, 0, kW, kH);
    const QImage shown = test::Render(chart);
    ASSERT_EQ(shown.size(), QSize(kW, kH));
    EXPECT_EQ(PixelsOffTheGrid(shown), 0) << "the whole chart is painted";
    EXPECT_EQ(chart.GetBackBuffer().size(), QSize(kW, kH));

    chart.SetValue(0, 500);
    chart.SetValue(0, 500);
    chart.Advance();
    EXPECT_EQ(test::Render(chart).pixel(kW - 3, kH / 2), kYellow) << "the trace at the right edge";
}

TEST(LineChartCtrl, AdvanceOnTheGuiThreadDrawsAtTheSizeOfTheMoment) {
    // Laid out while hidden, which sends no resize event, and advanced before any paint.
    QWidget window;
    CLineChartCtrl chart(&window);
    test::AddMainWindowSeries(chart);
    chart.setGeometry(0, 0, kW, kH);
    chart.SetValue(0, 500);
    chart.SetValue(0, 500);
    chart.Advance();
    const QImage b = chart.GetBackBuffer();
    ASSERT_EQ(b.size(), QSize(kW, kH));
    EXPECT_EQ(b.pixel(kW - 3, kH / 2), kYellow);
}

TEST(LineChartCtrl, ResizeKeepsTheNewestSamplesAtTheRightEdge) {
    Chart c;
    c.chart.SetValue(0, 500);
    c.chart.SetValue(0, 500);
    c.chart.Advance();
    ASSERT_EQ(c.Buffer().pixel(kW - 3, kH / 2), kYellow);
    c.chart.resize(kW + 40, kH + 20);
    const QImage shown = test::Render(c.chart);
    QImage b = c.Buffer();
    ASSERT_EQ(b.size(), QSize(kW + 40, kH + 20));
    EXPECT_EQ(b.pixel(kW + 40 - 3, kH / 2), kYellow);
    EXPECT_EQ(PixelsOffTheGrid(b, {0, 0, 40, kH + 20}), 0) << "new columns get the grid";
    EXPECT_EQ(PixelsOffTheGrid(b, {0, kH, kW + 40, 20}), 0) << "new rows get the grid";
    EXPECT_EQ(shown, b.convertToFormat(QImage::Format_RGB32)) << "painting copies all of it";

    c.chart.resize(kW - 50, kH);
    for (int i = 0; i < 12; ++i)
        c.chart.SetFullScale(i, 1000); // as every measurement start does
    b = c.Buffer();
    ASSERT_EQ(b.size(), QSize(kW - 50, kH));
    EXPECT_EQ(b.pixel(kW - 50 - 3, kH / 2), kYellow);
}

} // namespace
