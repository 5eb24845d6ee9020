// The off-screen context: whatever it draws on, the caller's picture lands in the area given,
// at the same place, and the window origin names the logical point at the device's origin.

#include "BufferDC.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace tensiq;

namespace {

constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);

// Paints as a bar with a border does: the origin moved in by one pixel, then a buffered draw
// over the area (2, 2)-(11, 11) that fills more than the area and clips a blue square through
// the window origin, as the bar's text is clipped.
void DrawThrough(QPainter& painter, QPoint* windowOrg) {
    painter.fillRect(QRect(0, 0, 40, 40), Qt::white);
    painter.translate(1, 1);
    CDC target(&painter);
    {
        CBufferDC dc(target, QRect(2, 2, 10, 10));
        QPainter& p = *dc.GetPainter();
        p.fillRect(QRect(-5, -5, 40, 40), Qt::red);
        const QRect device = QRect(4, 4, 3, 3).translated(-dc.GetWindowOrg());
        p.save();
        p.resetTransform();
        p.setClipRect(device);
        p.fillRect(QRect(0, 0, 40, 40), Qt::blue);
        p.restore();
        *windowOrg = dc.GetWindowOrg();
    }
    // The caller's painter is as it was: no clip left behind.
    painter.fillRect(QRect(20, 20, 5, 5), Qt::green);
}

class PaintedWidget : public QWidget {
public:
    std::function<void(QPainter&)> paint;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paint(painter);
    }
};

void ExpectPicture(const QImage& image) {
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            QRgb want = kWhite;
            if (x >= 3 && x < 13 && y >= 3 && y < 13)
                want = kRed;
            if (x >= 5 && x < 8 && y >= 5 && y < 8)
                want = qRgb(0, 0, 255);
            if (x >= 21 && x < 26 && y >= 21 && y < 26)
                want = qRgb(0, 255, 0);
            ASSERT_EQ(image.pixel(x, y), want) << "at " << x << "," << y;
        }
}

} // namespace

TEST(BufferDC, AWidgetAndAnImageGetTheSamePictureInTheArea) {
    QPoint widgetOrg, imageOrg;
    PaintedWidget widget;
    widget.resize(40, 40);
    widget.paint = [&](QPainter& p) { DrawThrough(p, &widgetOrg); };
    ExpectPicture(widget.grab().toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(widgetOrg, QPoint(-1, -1)); // drawn on the widget's own painter

    QImage image(40, 40, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        DrawThrough(painter, &imageOrg);
    }
    ExpectPicture(image);
    EXPECT_EQ(imageOrg, QPoint(2, 2)); // drawn in a buffer of the area
}
