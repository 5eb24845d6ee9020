#pragma once
// Shared by the controls' tests, the gallery and the benchmark: a fixed font, the main window's
// control sizes, the main window's bar set-up and a small resource module with icons.

#include "ResourceModule.h"

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>

#include <functional>

class QWidget;

namespace tensiq {
class CRopeBarCtrl;
class CLineChartCtrl;
} // namespace tensiq

namespace tensiq::test {

// Offscreen platform unless one is chosen already.
void PrepareQtEnvironment();
// The dialog's 8-point sans font, as the application font.
void UseDialogFont();

// Pixel sizes of the main window's controls from their dialog units.
QSize BarSize();
QSize ChartSize();
QSize LabelSize();
QSize PixelsOf(int widthUnits, int heightUnits);

// As the main window configures each bar and the chart.
void ConfigureAsMainWindowBar(CRopeBarCtrl& bar);
void AddMainWindowSeries(CLineChartCtrl& chart);

QImage Render(QWidget& widget);
// The smallest rectangle around the pixels that are wanted; empty when none is.
QRect BoundingBox(const QImage& image, const std::function<bool(QRgb)>& wanted);

// Icons 130, 131, 133, 137 of the resource module below, and 200: a 32 x 32 icon that is
// opaque magenta (255, 0, 255) everywhere.
const res::ResourceModule* TestResourceModule();
inline constexpr unsigned kMagentaIcon = 200;

} // namespace tensiq::test
