#include "RecordChart.h"
#include "CsvExport.h"
#include "Decimation.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tensiq {

namespace {

// The live chart's look: black, a green grid, the ropes in yellow, cyan and green in turn.
const QColor kBackground(0, 0, 0);
const QColor kGrid(0, 128, 0);
const QColor kRopeColours[3] = {QColor(255, 255, 0), QColor(0, 255, 255), QColor(0, 255, 0)};
constexpr int kRopeColourOf[kRecordRopes] = {0, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1};
constexpr int kAxisWidth = 64;
constexpr int kAxisHeight = 20;
constexpr int kClickSlop = 3;

} // namespace

QColor CRecordChart::SeriesColour(int series) {
    return series == kTotalSeries ? QColor(255, 255, 255) : kRopeColours[kRopeColourOf[series]];
}

CRecordChart::CRecordChart(QWidget* parent) : QWidget(parent) {
    m_visible.set();
    // The total is twelve times a rope; shown, it leaves the ropes a thin band.
    m_visible[kTotalSeries] = false;
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CRecordChart::SetRecord(const RecordColumns* record) {
    m_record = record;
    m_cursor = m_rangeFirst = m_rangeLast = 0;
    FitAll();
}

void CRecordChart::SetUnitFactor(double factor) {
    m_unitFactor = factor;
    update();
}

void CRecordChart::SetSeriesVisible(int series, bool visible) {
    m_visible[series] = visible;
    update();
}

void CRecordChart::FitAll() {
    SetView(0, m_record != nullptr
                   ? static_cast<double>(std::max<std::int64_t>(m_record->Frames(), 1))
                   : 1);
}

void CRecordChart::ClampView() {
    const double frames = m_record != nullptr ? static_cast<double>(m_record->Frames()) : 1;
    // Down to a handful of frames across the plot, so single frames stand apart.
    m_span = std::clamp(m_span, std::min(4.0, std::max(frames, 1.0)), std::max(frames, 1.0));
    m_first = std::clamp(m_first, 0.0, std::max(0.0, frames - m_span));
}

void CRecordChart::SetView(double first, double span) {
    m_first = first;
    m_span = span;
    ClampView();
    update();
    emit viewChanged();
}

void CRecordChart::ZoomAt(double x, double factor) {
    const QRect plot = PlotRect();
    const double at = m_first + (x - plot.left()) / std::max(1, plot.width()) * m_span;
    const double span = m_span * factor;
    SetView(at - (at - m_first) * factor, span);
}

QRect CRecordChart::PlotRect() const {
    return rect().adjusted(kAxisWidth, 4, -4, -kAxisHeight);
}

double CRecordChart::XOf(double frame) const {
    const QRect plot = PlotRect();
    return plot.left() + (frame - m_first) / m_span * plot.width();
}

int CRecordChart::Columns() const {
    return std::max(1, PlotRect().width());
}

std::int64_t CRecordChart::FrameAt(double x) const {
    if (m_record == nullptr || m_record->Frames() == 0)
        return 0;
    const QRect plot = PlotRect();
    const double frame = m_first + (x - plot.left()) / std::max(1, plot.width()) * m_span;
    return std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor(frame)) + 1, 1,
                                    m_record->Frames());
}

void CRecordChart::SetCursorFrame(std::int64_t frame) {
    if (m_record == nullptr)
        return;
    frame = std::clamp<std::int64_t>(frame, m_record->Frames() > 0 ? 1 : 0, m_record->Frames());
    if (frame == m_cursor)
        return;
    m_cursor = frame;
    // Keep it in sight.
    if (frame - 1 < m_first)
        SetView(frame - 1, m_span);
    else if (frame > m_first + m_span)
        SetView(frame - m_span, m_span);
    update();
    emit cursorChanged(frame);
}

void CRecordChart::SetRange(std::int64_t first, std::int64_t last) {
    if (m_record == nullptr)
        return;
    if (first > last)
        std::swap(first, last);
    first = std::clamp<std::int64_t>(first, 1, std::max<std::int64_t>(1, m_record->Frames()));
    last = std::clamp<std::int64_t>(last, 1, std::max<std::int64_t>(1, m_record->Frames()));
    m_rangeFirst = first;
    m_rangeLast = last;
    update();
    emit rangeChanged(first, last);
}

void CRecordChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    const QRect plot = PlotRect();
    if (m_record == nullptr || m_record->Frames() == 0)
        return;
    const std::int64_t first = static_cast<std::int64_t>(std::floor(m_first));
    const std::int64_t last =
        std::min(m_record->Frames(), static_cast<std::int64_t>(std::ceil(m_first + m_span)) + 1);

    // The value axis fits the visible series over the visible frames.
    std::int64_t lo = INT64_MAX, hi = INT64_MIN;
    for (int s = 0; s < kSeriesCount; ++s) {
        if (!m_visible[s])
            continue;
        const ValueRange r = m_record->Extent(s, first, last);
        if (!r.Empty()) {
            lo = std::min(lo, r.min);
            hi = std::max(hi, r.max);
        }
    }
    if (lo > hi)
        lo = hi = 0;
    const double margin = std::max(1.0, static_cast<double>(hi - lo) * 0.05);
    const double bottom = static_cast<double>(lo) - margin;
    const double top = static_cast<double>(hi) + margin;
    auto yOf = [&](double kg) {
        return plot.bottom() - (kg - bottom) / (top - bottom) * plot.height();
    };

    // Grid and axis labels.
    painter.setPen(kGrid);
    const double unitSpan = (top - bottom) * m_unitFactor;
    const double step = std::pow(10.0, std::floor(std::log10(unitSpan / 4)));
    const double niceStep = unitSpan / step > 20 ? step * 5 : unitSpan / step > 8 ? step * 2 : step;
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(niceStep))));
    for (double v = std::ceil(bottom * m_unitFactor / niceStep) * niceStep; v <= top * m_unitFactor;
         v += niceStep) {
        const int y = static_cast<int>(yOf(v / m_unitFactor));
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.drawText(QRect(0, y - 8, kAxisWidth - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(FormatNumber(v, decimals)));
    }
    // 1, 2 or 5 times a power of ten, so that the numbers keep apart.
    const double fitting = std::max(1.0, m_span * 90 / std::max(1, plot.width()));
    const double power = std::pow(10.0, std::floor(std::log10(fitting)));
    const double frameStep = fitting <= power       ? power
                             : fitting <= 2 * power ? 2 * power
                             : fitting <= 5 * power ? 5 * power
                                                    : 10 * power;
    for (double f = std::ceil(m_first / frameStep) * frameStep; f <= m_first + m_span;
         f += frameStep) {
        const int x = static_cast<int>(XOf(f));
        painter.drawLine(x, plot.top(), x, plot.bottom());
        painter.drawText(QRect(x - 50, plot.bottom() + 2, 100, kAxisHeight - 2), Qt::AlignCenter,
                         QString::number(static_cast<qint64>(f) + 1));
    }

    // Range underneath the traces.
    if (m_rangeLast > 0) {
        const double x0 = std::max<double>(plot.left(), XOf(static_cast<double>(m_rangeFirst - 1)));
        const double x1 = std::min<double>(plot.right(), XOf(static_cast<double>(m_rangeLast)));
        if (x1 >= x0)
            painter.fillRect(QRectF(x0, plot.top(), std::max(1.0, x1 - x0), plot.height()),
                             QColor(60, 60, 110));
    }

    painter.setClipRect(plot);
    const int columns = Columns();
    const bool decimate = m_span > columns;
    for (int s = kSeriesCount - 1; s >= 0; --s) {
        if (!m_visible[s])
            continue;
        painter.setPen(SeriesColour(s));
        if (decimate) {
            // Whole frames [first, first + count) over the columns; each column a vertical
            // stroke from its minimum to its maximum, joined to the next.
            const std::int64_t count = std::max<std::int64_t>(1, last - first);
            const auto extents = Decimate(*m_record, s, first, count, columns);
            const double x0 = XOf(static_cast<double>(first));
            const double width = XOf(static_cast<double>(first + count)) - x0;
            // One polyline down each column from its minimum to its maximum and on to the
            // next column's minimum; whole pixels keep the raster engine on its fast path.
            QPolygon stroke;
            stroke.reserve(2 * columns);
            for (int c = 0; c < columns; ++c) {
                if (extents[c].Empty())
                    continue;
                const int x = static_cast<int>(std::lround(x0 + width * c / columns));
                stroke << QPoint(x, static_cast<int>(
                                        std::lround(yOf(static_cast<double>(extents[c].min)))))
                       << QPoint(x, static_cast<int>(
                                        std::lround(yOf(static_cast<double>(extents[c].max)))));
            }
            painter.drawPolyline(stroke);
        } else {
            QPolygonF line;
            for (std::int64_t f = first; f < last; ++f)
                line << QPointF(XOf(static_cast<double>(f) + 0.5),
                                yOf(static_cast<double>(m_record->Value(s, f))));
            painter.drawPolyline(line);
            if (m_span * 4 < columns)
                for (const QPointF& p : line)
                    painter.drawEllipse(p, 1.5, 1.5);
        }
    }

    if (m_cursor > 0) {
        painter.setPen(QPen(QColor(255, 80, 80), 1, Qt::DashLine));
        const double x = XOf(static_cast<double>(m_cursor) - 0.5);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    if (m_drag == Drag::Box && m_moved) {
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(QRect(m_pressAt, m_dragAt).normalized());
    }
    if (hasFocus()) {
        painter.setClipping(false);
        painter.setPen(QPen(kGrid, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CRecordChart::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        ZoomAt(event->position().x(), std::pow(0.8, notches));
    event->accept();
}

void CRecordChart::mousePressEvent(QMouseEvent* event) {
    m_pressAt = m_dragAt = event->position().toPoint();
    m_pressFirst = m_first;
    m_moved = false;
    if (event->button() == Qt::RightButton)
        m_drag = Drag::Box;
    else if (event->button() == Qt::LeftButton)
        m_drag = (event->modifiers() & Qt::ShiftModifier) ? Drag::Range : Drag::Pan;
    setFocus(Qt::MouseFocusReason);
}

void CRecordChart::mouseMoveEvent(QMouseEvent* event) {
    if (m_drag == Drag::None)
        return;
    m_dragAt = event->position().toPoint();
    m_moved = m_moved || (m_dragAt - m_pressAt).manhattanLength() > kClickSlop;
    if (!m_moved)
        return;
    if (m_drag == Drag::Pan) {
        const double frames =
            (m_dragAt.x() - m_pressAt.x()) * m_span / std::max(1, PlotRect().width());
        SetView(m_pressFirst - frames, m_span);
    } else if (m_drag == Drag::Range) {
        SetRange(FrameAt(m_pressAt.x()), FrameAt(m_dragAt.x()));
    } else {
        update();
    }
}

void CRecordChart::mouseReleaseEvent(QMouseEvent* event) {
    const Drag drag = std::exchange(m_drag, Drag::None);
    const QPoint at = event->position().toPoint();
    if (!m_moved) {
        if (drag == Drag::Pan || drag == Drag::Range)
            SetCursorFrame(FrameAt(at.x()));
        return;
    }
    if (drag == Drag::Box) {
        const QRect plot = PlotRect();
        const double x0 = std::min(m_pressAt.x(), at.x());
        const double x1 = std::max(m_pressAt.x(), at.x());
        const double first = m_first + (x0 - plot.left()) / std::max(1, plot.width()) * m_span;
        SetView(first, (x1 - x0) / std::max(1, plot.width()) * m_span);
    }
}

void CRecordChart::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const std::int64_t step = shift ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Left:
        SetCursorFrame(std::max<std::int64_t>(1, m_cursor - step));
        break;
    case Qt::Key_Right:
        SetCursorFrame(m_cursor + step);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomAt(m_cursor > 0 ? XOf(static_cast<double>(m_cursor) - 0.5) : PlotRect().center().x(),
               0.5);
        break;
    case Qt::Key_Minus:
        ZoomAt(PlotRect().center().x(), 2.0);
        break;
    case Qt::Key_PageUp:
        SetView(m_first - m_span * 0.8, m_span);
        break;
    case Qt::Key_PageDown:
        SetView(m_first + m_span * 0.8, m_span);
        break;
    case Qt::Key_Home:
        SetCursorFrame(1);
        break;
    case Qt::Key_End:
        SetCursorFrame(m_record != nullptr ? m_record->Frames() : 0);
        break;
    case Qt::Key_F:
        FitAll();
        break;
    case Qt::Key_BracketLeft:
        SetRange(m_cursor, m_rangeLast > 0 ? std::max(m_rangeLast, m_cursor) : m_cursor);
        break;
    case Qt::Key_BracketRight:
        SetRange(m_rangeFirst > 0 ? std::min(m_rangeFirst, m_cursor) : m_cursor, m_cursor);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace tensiq
