#include "LineChartCtrl.h"

#include <QMetaObject>
#include <QPainter>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tensiq {

namespace {

constexpr int kScroll = 4;
constexpr int kGridSpacing = 8;
constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kGrid = 0xFF008000u;     // RGB(0, 128, 0)
constexpr QRgb kNoBuffer = 0xFFC0C0C0u; // the window class's light-grey background

std::atomic<int> g_gridToggle{0};

bool IsGridRow(int y) {
    return y % kGridSpacing == kGridSpacing - 1;
}

QRgb ToQRgb(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A line from (x0, y0) up to but not including (x1, y1). Only the rows or columns inside the
// image are walked, so an end point far outside costs nothing.
void DrawLineExclusive(QImage& image, long long x0, long long y0, long long x1, long long y1,
                       QRgb colour) {
    const long long dx = x1 - x0;
    const long long dy = y1 - y0;
    const long long w = image.width();
    const long long h = image.height();
    const auto plot = [&](long long x, long long y) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)))[x] = colour;
    };
    const bool steep = std::llabs(dy) > std::llabs(dx);
    const long long steps = steep ? std::llabs(dy) : std::llabs(dx);
    if (steps == 0)
        return;
    const long long major0 = steep ? y0 : x0;
    const long long sign = (steep ? dy : dx) > 0 ? 1 : -1;
    const long long limit = steep ? h : w;
    const double slope = static_cast<double>(steep ? dx : dy) / static_cast<double>(steps);
    long long first = sign > 0 ? -major0 : major0 - (limit - 1);
    long long last = sign > 0 ? limit - major0 : major0 + 1;
    first = std::max(first, 0LL);
    last = std::min(last, steps);
    for (long long i = first; i < last; ++i) {
        const long long major = major0 + sign * i;
        const long long minor =
            (steep ? x0 : y0) + static_cast<long long>(std::floor(i * slope + 0.5));
        if (steep)
            plot(minor, major);
        else
            plot(major, minor);
    }
}

void FillGrid(QImage& image, int fromX, int toX) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = fromX; x < toX; ++x)
            line[x] = IsGridRow(y) || IsGridRow(x) ? kGrid : kBlack;
    }
}

long long ChartY(int h, const ChartSeries& s, std::uint32_t value) {
    // Measured from the lower bound, so that a series not starting at 0 stays on the chart.
    const double range = static_cast<double>(s.fullScale - s.lowerBound);
    const double fromTop = range - (static_cast<double>(value) - s.lowerBound);
    return static_cast<long long>(std::trunc(h * fromTop / range));
}

} // namespace

CLineChartCtrl::CLineChartCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CLineChartCtrl::~CLineChartCtrl() = default;

BOOL CLineChartCtrl::AddSeries(COLORREF color, int fullScale, int lowerBound) {
    try {
        auto series = std::make_unique<ChartSeries>();
        series->color = color;
        series->lowerBound = static_cast<std::uint32_t>(lowerBound);
        series->fullScale = static_cast<std::uint32_t>(fullScale);
        std::lock_guard lock(m_bufferLock);
        m_series.push_back(std::move(series));
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    EnsureBackBuffer();
    return TRUE;
}

void CLineChartCtrl::SetFullScale(int index, int fullScale) {
    {
        std::lock_guard lock(m_bufferLock);
        if (index < 0 || static_cast<std::size_t>(index) >= m_series.size())
            return;
        m_series[static_cast<std::size_t>(index)]->fullScale =
            static_cast<std::uint32_t>(fullScale);
    }
    EnsureBackBuffer();
}

std::uint32_t CLineChartCtrl::SetValue(int index, std::uint32_t value) {
    std::lock_guard lock(m_bufferLock);
    if (index < 0 || static_cast<std::size_t>(index) >= m_series.size())
        return 0;
    ChartSeries& s = *m_series[static_cast<std::size_t>(index)];
    if (value > s.fullScale)
        value = s.fullScale;
    if (value < s.lowerBound)
        value = s.lowerBound;
    const std::uint32_t old = s.currentValue;
    s.previousValue = old;
    s.currentValue = value;
    return old;
}

void CLineChartCtrl::Advance() {
    // The size is read on the chart's own thread only; fed from another thread, the buffer is
    // fitted at the next paint, resize or full-scale change.
    const bool ownThread = QThread::currentThread() == thread();
    {
        std::lock_guard lock(m_bufferLock);
        if (ownThread)
            FitBackBuffer();
        if (!m_backBuffer.isNull()) {
            m_blank = false;
            const int w = m_backBuffer.width();
            const int h = m_backBuffer.height();
            const int keep = std::max(0, w - kScroll);
            for (int y = 0; y < h; ++y) {
                auto* line = reinterpret_cast<QRgb*>(m_backBuffer.scanLine(y));
                std::memmove(line, line + (w - keep), static_cast<std::size_t>(keep) * 4);
                const QRgb strip = IsGridRow(y) ? kGrid : kBlack;
                for (int x = keep; x < w; ++x)
                    line[x] = strip;
            }
            if (g_gridToggle.fetch_xor(1) == 0 && w >= 2)
                for (int y = 0; y < h; ++y)
                    reinterpret_cast<QRgb*>(m_backBuffer.scanLine(y))[w - 2] = kGrid;
            for (const auto& s : m_series) {
                // A range of nothing has no vertical mapping.
                if (s->fullScale == s->lowerBound)
                    continue;
                DrawLineExclusive(m_backBuffer, w - 5, ChartY(h, *s, s->previousValue), w - 1,
                                  ChartY(h, *s, s->currentValue), ToQRgb(s->color));
            }
        }
    }
    Invalidate();
}

int CLineChartCtrl::GetSeriesCount() const {
    std::lock_guard lock(m_bufferLock);
    return static_cast<int>(m_series.size());
}

ChartSeries CLineChartCtrl::GetSeries(int index) const {
    std::lock_guard lock(m_bufferLock);
    if (index < 0 || static_cast<std::size_t>(index) >= m_series.size())
        return {};
    return *m_series[static_cast<std::size_t>(index)];
}

QImage CLineChartCtrl::GetBackBuffer() const {
    std::lock_guard lock(m_bufferLock);
    return m_backBuffer.copy();
}

int CLineChartCtrl::GridToggle() {
    return g_gridToggle.load();
}

void CLineChartCtrl::EnsureBackBuffer() {
    {
        std::lock_guard lock(m_bufferLock);
        // Created and cleared once; never cleared again, only fitted to a new size.
        FitBackBuffer();
    }
    Invalidate();
}

void CLineChartCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    {
        std::lock_guard lock(m_bufferLock);
        FitBackBuffer();
    }
    update();
}

// The buffer follows the widget: a series may be added before the window has laid the chart
// out (at Qt's default size), and a hidden widget is resized without a resize event, so every
// GUI-thread use fits it. The newest samples are at the right edge, so the picture keeps that
// edge and its top rows; what it does not cover gets the grid.
void CLineChartCtrl::FitBackBuffer() {
    const QSize size = this->size();
    if (m_backBuffer.isNull()) {
        if (!m_series.empty() && !size.isEmpty()) {
            m_backBuffer = QImage(size, QImage::Format_RGB32);
            FillGrid(m_backBuffer, 0, m_backBuffer.width());
            m_blank = true;
        }
        return;
    }
    if (m_backBuffer.size() == size)
        return;
    if (size.isEmpty()) {
        m_backBuffer = QImage();
        return;
    }
    QImage fitted(size, QImage::Format_RGB32);
    FillGrid(fitted, 0, fitted.width());
    if (!m_blank) {
        QPainter painter(&fitted);
        painter.drawImage(fitted.width() - m_backBuffer.width(), 0, m_backBuffer);
    }
    m_backBuffer = std::move(fitted);
}

void CLineChartCtrl::Invalidate() {
    if (QThread::currentThread() == thread())
        InvalidateClient();
    else
        QMetaObject::invokeMethod(
            this, [this] { InvalidateClient(); }, Qt::QueuedConnection);
}

void CLineChartCtrl::InvalidateClient() {
    update();
}

void CLineChartCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    std::lock_guard lock(m_bufferLock);
    FitBackBuffer();
    if (m_backBuffer.isNull())
        painter.fillRect(rect(), QColor::fromRgb(kNoBuffer));
    else
        painter.drawImage(0, 0, m_backBuffer);
}

} // namespace tensiq
