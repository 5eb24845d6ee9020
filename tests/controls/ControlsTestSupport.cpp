#include "ControlsTestSupport.h"

#include "DialogUnits.h"
#include "LineChartCtrl.h"
#include "RopeBarCtrl.h"

#include <QApplication>
#include <QFont>
#include <QWidget>

#include <array>
#include <cmath>
#include <cstdint>

namespace tensiq::test {

void PrepareQtEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void UseDialogFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    QApplication::setFont(font);
}

QSize PixelsOf(int widthUnits, int heightUnits) {
    return DialogUnits(QApplication::font()).ToPixels(0, 0, widthUnits, heightUnits).size();
}

QSize BarSize() {
    return PixelsOf(32, 172);
}
QSize ChartSize() {
    return PixelsOf(489, 184);
}
QSize LabelSize() {
    return PixelsOf(132, 17);
}

void ConfigureAsMainWindowBar(CRopeBarCtrl& bar) {
    bar.m_margins = {0, 0, 0, 0};
    bar.m_barColors = {RGB(0, 0, 160), RGB(0, 128, 192)};
    bar.m_bkColor = RGB(255, 255, 255);
    bar.m_textColorOnBar = RGB(255, 255, 255);
    bar.m_textColorOnBk = RGB(0, 0, 0);
    bar.SetTextFormat(QString(), RLB_PERCENT);
    bar.SetTextFormat(QStringLiteral("%d"), RLB_VALUE);
    bar.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
}

void AddMainWindowSeries(CLineChartCtrl& chart) {
    constexpr COLORREF yellow = RGB(255, 255, 0);
    constexpr COLORREF cyan = RGB(0, 255, 255);
    constexpr COLORREF green = RGB(0, 255, 0);
    for (COLORREF c :
         {yellow, yellow, cyan, green, yellow, cyan, green, yellow, cyan, green, yellow, cyan})
        chart.AddSeries(c, 1000, 0);
}

QImage Render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect BoundingBox(const QImage& image, const std::function<bool(QRgb)>& wanted) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (wanted(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

namespace {

constexpr int kSide = 32;
using Pixels = std::array<std::uint8_t, kSide * kSide>;

// Palette: 0 black, 1 dark grey, 2 red, 3 white, 4 blue, 5 yellow, 6 cyan, 7 green, 8 magenta,
// 9 light grey.
constexpr std::uint32_t kPalette[16] = {
    0xFF000000, 0xFF808080, 0xFFE00000, 0xFFFFFFFF, 0xFF2040D0, 0xFFFFFF00, 0xFF00FFFF, 0xFF00C000,
    0xFFFF00FF, 0xFFC0C0C0, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000};

struct Drawn {
    Pixels pixels{};
    Pixels mask{};
};

template <typename Paint> Drawn Draw(Paint paint) {
    Drawn d;
    d.mask.fill(1);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int index = paint(x - 15.5, y - 15.5);
            if (index >= 0) {
                d.pixels[y * kSide + x] = static_cast<std::uint8_t>(index);
                d.mask[y * kSide + x] = 0;
            }
        }
    return d;
}

const Drawn& StartIcon() {
    static const Drawn d = Draw([](double x, double y) {
        const double r = std::hypot(x, y);
        if (r > 15)
            return -1;
        if (r > 13.5)
            return 0;
        // A triangle pointing right.
        if (x > -6 && x < 8 && std::abs(y) < (8 - x) * 0.6)
            return 2;
        return 3;
    });
    return d;
}

const Drawn& CrossIcon() {
    static const Drawn d = Draw([](double x, double y) {
        if (std::abs(x) > 13 || std::abs(y) > 13)
            return -1;
        return std::abs(std::abs(x) - std::abs(y)) < 3 ? 2 : -1;
    });
    return d;
}

const Drawn& GlassesIcon() {
    static const Drawn d = Draw([](double x, double y) {
        const double left = std::hypot(x + 7, y);
        const double right = std::hypot(x - 7, y);
        if (std::abs(left - 6) < 1.2 || std::abs(right - 6) < 1.2 ||
            (std::abs(x) < 2 && std::abs(y + 1) < 0.8))
            return 0;
        if (left < 5 || right < 5)
            return 6;
        return -1;
    });
    return d;
}

const Drawn& LinesIcon() {
    static const Drawn d = Draw([](double x, double y) {
        if (std::abs(x) > 14 || std::abs(y) > 12)
            return -1;
        if (std::abs(x) > 13 || std::abs(y) > 11)
            return 1;
        const double wave1 = -5 + 3 * std::sin(x / 3);
        const double wave2 = 1 + 3 * std::cos(x / 4);
        const double wave3 = 6 + 2 * std::sin(x / 2);
        if (std::abs(y - wave1) < 1)
            return 5;
        if (std::abs(y - wave2) < 1)
            return 6;
        if (std::abs(y - wave3) < 1)
            return 7;
        return 0;
    });
    return d;
}

const Drawn& MagentaIcon() {
    static const Drawn d = Draw([](double, double) { return 8; });
    return d;
}

res::IconImage Image(const Drawn& d) {
    res::IconImage image{kSide, kSide, {}, d.pixels.data(), d.mask.data()};
    for (int i = 0; i < 16; ++i)
        image.palette[i] = kPalette[i];
    return image;
}

} // namespace

const res::ResourceModule* TestResourceModule() {
    static const res::IconImage images[] = {Image(CrossIcon()), Image(GlassesIcon()),
                                            Image(StartIcon()), Image(LinesIcon()),
                                            Image(MagentaIcon())};
    static const res::Icon icons[] = {{130, &images[0], 1},
                                      {131, &images[1], 1},
                                      {133, &images[2], 1},
                                      {137, &images[3], 1},
                                      {kMagentaIcon, &images[4], 1}};
    static const res::ResourceModule module{nullptr, 0, nullptr, 0, icons, std::size(icons)};
    return &module;
}

} // namespace tensiq::test
