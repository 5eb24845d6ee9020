#include "RopeBarCtrl.h"

#include "BarTextFormat.h"
#include "BufferDC.h"
#include "ShapedTextCache.h"
#include "SysColors.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tensiq {

namespace {

constexpr COLORREF kTargetBackground = RGB(255, 255, 128);
constexpr COLORREF kPlainBackground = RGB(255, 255, 255);
constexpr COLORREF kNearStart = RGB(0, 166, 0);
constexpr COLORREF kNearEnd = RGB(0, 255, 0);
constexpr COLORREF kFarStart = RGB(166, 0, 0);
constexpr COLORREF kFarEnd = RGB(255, 0, 0);

bool IsVertical(DWORD style) {
    return (style & PBS_VERTICAL) != 0;
}

// Draws text with its bottom centre at the painter's origin, as TA_CENTER | TA_BOTTOM does.
void TextOutCentreBottom(QPainter& painter, const ShapedTextCache::Shaped& text, int angle) {
    painter.rotate(-angle);
    // The glyphs are placed by their top; the baseline is an ascent below it.
    painter.drawStaticText(QPoint(-text.advance / 2, -text.descent - text.ascent), text.glyphs);
}

} // namespace

CRopeBarCtrl::CRopeBarCtrl(QWidget* parent, DWORD style)
    : CProgressCtrl(parent, style), m_barColors{GetSysColor(COLOR_ACTIVECAPTION),
                                                GetSysColor(COLOR_ACTIVECAPTION)},
      m_bkColor(GetSysColor(COLOR_BTNFACE)), m_textColorOnBar(GetSysColor(COLOR_CAPTIONTEXT)),
      m_textColorOnBk(GetSysColor(COLOR_BTNTEXT)) {
    // The paint covers the whole widget; nothing is to be erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CRopeBarCtrl::SetTextFormat(const QString& format, DWORD mode) {
    if (format.isEmpty() || mode == 0) {
        ModifyStyle(RLB_TEXTMASK, 0);
        SetWindowText(QString());
        return;
    }
    ModifyStyle(RLB_TEXTMASK, mode & RLB_TEXTMASK);
    SetWindowText(format);
}

void CRopeBarCtrl::SetTarget(int value, BOOL enabled) {
    m_target = value;
    m_targetEnabled = enabled;
    m_bkColor = enabled != 0 ? kTargetBackground : kPlainBackground;
    update();
}

int CRopeBarCtrl::SetPos(int pos) {
    LRESULT result = 0;
    if (StepRunningSegment(result, pos, FALSE)) {
        SetBeyondRange(std::nullopt);
        return static_cast<int>(result);
    }
    const int previous = CProgressCtrl::SetPos(pos);
    SetBeyondRange(pos != GetPos() ? std::optional<int>(pos) : std::nullopt);
    return previous;
}

void CRopeBarCtrl::SetBeyondRange(std::optional<int> value) {
    if (value == m_beyondRange)
        return;
    m_beyondRange = value;
    if ((GetStyle() & RLB_TEXTMASK) == RLB_VALUE)
        update();
}

int CRopeBarCtrl::DeltaPos(int delta) {
    SetBeyondRange(std::nullopt);
    LRESULT result = 0;
    if (StepRunningSegment(result, delta, TRUE))
        return static_cast<int>(result);
    return CProgressCtrl::DeltaPos(delta);
}

int CRopeBarCtrl::SetStep(int step) {
    m_step = step;
    return CProgressCtrl::SetStep(step);
}

int CRopeBarCtrl::StepIt() {
    SetBeyondRange(std::nullopt);
    LRESULT result = 0;
    if (StepRunningSegment(result, m_step, TRUE))
        return static_cast<int>(result);
    return CProgressCtrl::StepIt();
}

COLORREF CRopeBarCtrl::SetBarColor(COLORREF colour, COLORREF second) {
    m_barColors = {colour, second != 0 ? second : colour};
    return CLR_DEFAULT;
}

COLORREF CRopeBarCtrl::SetBkColor(COLORREF colour) {
    m_bkColor = colour;
    return CLR_DEFAULT;
}

RECT CRopeBarCtrl::SpanToClientRect(const BarDrawInfo& info, BarSpan span) const {
    const RECT& r = info.client;
    const int length = span.end - span.start;
    const bool reverse = (info.style & RLB_REVERSE) != 0;
    RECT out = r;
    if (IsVertical(info.style)) {
        out.top = reverse ? r.top + span.start : r.top + (r.bottom - r.top - span.end);
        out.bottom = out.top + length;
    } else {
        out.left = reverse ? r.right - span.end : r.left + span.start;
        out.right = out.left + length;
    }
    return out;
}

// A plain vertical bar changes only between its old and new top, and where its number stands;
// anything that colours or places the bar by its position repaints all of it.
void CRopeBarCtrl::InvalidatePosChange(int previous, int current) {
    int lower = 0;
    int upper = 0;
    GetRange(lower, upper);
    const DWORD style = GetStyle();
    const bool plain = IsVertical(style) && (style & (RLB_STRETCH | RLB_RUNNING)) == 0 &&
                       (style & RLB_TEXTONBAR) == 0 && m_targetEnabled == 0 &&
                       m_textEscapement == 0;
    const auto inRange = [&](int pos) { return pos >= lower && pos <= upper; };
    if (!plain || upper == lower || !inRange(previous) || !inRange(current)) {
        update();
        return;
    }
    RECT c = ToRECT(GetClientRect());
    c.left += m_margins.left;
    c.top += m_margins.top;
    c.right -= m_margins.right;
    c.bottom -= m_margins.bottom;
    const int length = c.bottom - c.top;
    const long long range = static_cast<long long>(upper) - lower;
    const auto end = [&](int pos) {
        return static_cast<int>((static_cast<long long>(pos) - lower) * length / range);
    };
    const BarDrawInfo info{nullptr, style, c, current, lower, upper};
    const BarSpan changed{std::min(end(previous), end(current)),
                          std::max(end(previous), end(current))};
    const QPoint origin = ClientArea().topLeft();
    if (changed.end > changed.start)
        update(ToQRect(SpanToClientRect(info, changed)).translated(origin));
    if ((style & RLB_TEXTMASK) != 0) {
        // The number is centred on the client, a line high; a line either way covers it.
        if (m_lineHeight < 0)
            m_lineHeight = QFontMetrics(font()).height();
        const int line = m_lineHeight;
        const int middle = c.top + (c.bottom - c.top) / 2;
        update(QRect(c.left, middle - line, c.right - c.left, 2 * line).translated(origin));
    }
}

void CRopeBarCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        m_lineHeight = -1;
    CProgressCtrl::changeEvent(event);
}

void CRopeBarCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    PaintBorder(painter);
    const QPoint origin = ClientArea().topLeft();
    painter.translate(origin);
    CDC paintDC(&painter);
    OnPaint(paintDC, event->rect().translated(-origin) & GetClientRect());
}

void CRopeBarCtrl::OnPaint(CDC& paintDC, const QRect& clipBox) {
    RECT c = ToRECT(GetClientRect());
    const int pos = GetPos();
    int lower = 0;
    int upper = 0;
    GetRange(lower, upper);

    CBufferDC dc(paintDC, clipBox);
    QPainter& p = *dc.GetPainter();
    p.fillRect(ToQRect(c), ToQColor(m_bkColor));

    // Only the upper bound enters: the bars' lower bound is always 0. An upper bound of 0 has
    // no marker height at all.
    if (m_targetEnabled != 0 && upper != 0) {
        const int h = c.bottom - c.top;
        const int y = static_cast<int>(std::trunc(h - h * static_cast<double>(m_target) / upper));
        if (y > 0 && y <= c.bottom) // the 3-pixel line centred on y - 2
            p.fillRect(QRect(c.left, y - 3, c.right - c.left, 3), Qt::black);
    }

    c.left += m_margins.left;
    c.top += m_margins.top;
    c.right -= m_margins.right;
    c.bottom -= m_margins.bottom;

    // An empty range has no bar to map a position onto.
    if (pos < lower || pos > upper || upper == lower)
        return;

    const BarDrawInfo info{&dc, GetStyle(), c, pos, lower, upper};
    const int length = IsVertical(info.style) ? c.bottom - c.top : c.right - c.left;
    const long long range = static_cast<long long>(upper) - lower;
    const BarSpan full{0, length};
    BarSpan bar{0, static_cast<int>((static_cast<long long>(pos) - lower) * length / range)};
    if ((info.style & RLB_RUNNING) != 0)
        bar.start =
            static_cast<int>((static_cast<long long>(m_segmentTail) - lower) * length / range);

    DrawGradientBands(info, (info.style & RLB_STRETCH) != 0 ? bar : full, bar);
    DrawBarText(info, full, bar);
}

void CRopeBarCtrl::DrawGradientBands(const BarDrawInfo& info, BarSpan gradient, BarSpan clip) {
    const int n = static_cast<int>(m_barColors.size());
    if (n < 2)
        return;
    const float bandLength = static_cast<float>(gradient.end - gradient.start) / (n - 1);
    for (int i = 0; i <= n - 2; ++i) {
        BarSpan band{gradient.start + static_cast<int>(i * bandLength),
                     i == n - 2 ? gradient.end
                                : gradient.start + static_cast<int>((i + 1) * bandLength)};
        if (band.end < clip.start)
            continue;
        const BarSpan clipped{std::max(band.start, clip.start), std::min(band.end, clip.end)};
        DrawGradientBand(info, band, clipped, m_barColors[i], m_barColors[i + 1]);
        if (clipped.end == clip.end)
            break;
    }
}

void CRopeBarCtrl::DrawGradientBand(const BarDrawInfo& info, BarSpan band, BarSpan clip,
                                    COLORREF start, COLORREF end) {
    if (m_targetEnabled != 0) {
        // The load, not the full bar it is drawn as: a rope far above the target is not near.
        const bool near = std::abs(ShownValue() - m_target) <= m_target * 0.02;
        start = near ? kNearStart : kFarStart;
        end = near ? kNearEnd : kFarEnd;
    }
    const int dR = GetRValue(end) - GetRValue(start);
    const int dG = GetGValue(end) - GetGValue(start);
    const int dB = GetBValue(end) - GetBValue(start);
    const int length = band.end - band.start;
    int steps = std::min(std::max({std::abs(dR), std::abs(dG), std::abs(dB)}), length);
    if (steps == 0)
        steps = 1;
    const float rStep = static_cast<float>(dR) / steps;
    const float gStep = static_cast<float>(dG) / steps;
    const float bStep = static_cast<float>(dB) / steps;
    // A device of fewer than 8 bits cannot show the steps: one solid step.
    if (steps > 1 && info.dc->BitsPerPixel() < 8)
        steps = 1;

    QPainter& p = *info.dc->GetPainter();
    const float stepLength = static_cast<float>(length) / steps;
    for (int i = 0; i < steps; ++i) {
        const BarSpan step{band.start + static_cast<int>(i * stepLength),
                           i == steps - 1 ? band.end
                                          : band.start + static_cast<int>((i + 1) * stepLength)};
        if (step.end < clip.start)
            continue;
        const BarSpan clipped{std::max(step.start, clip.start), std::min(step.end, clip.end)};
        const COLORREF colour = RGB(GetRValue(start) + static_cast<int>(i * rStep),
                                    GetGValue(start) + static_cast<int>(i * gStep),
                                    GetBValue(start) + static_cast<int>(i * bStep));
        p.fillRect(ToQRect(SpanToClientRect(info, clipped)), ToQColor(colour));
        if (clipped.end >= clip.end)
            break;
    }
}

void CRopeBarCtrl::DrawBarText(const BarDrawInfo& info, BarSpan full, BarSpan bar) {
    const DWORD mode = info.style & RLB_TEXTMASK;
    if (mode == 0)
        return;
    QString format = GetWindowText();
    int value = 0;
    if (mode == RLB_PERCENT) {
        if (format.isEmpty())
            format = QStringLiteral("%d%%");
        value = static_cast<int>(std::trunc((info.pos - info.lower) * 100.0 /
                                            (static_cast<double>(info.upper) - info.lower)));
    } else if (mode == RLB_VALUE) {
        if (format.isEmpty())
            format = QStringLiteral("%d");
        value = ShownValue();
    }
    if (format.isEmpty())
        return;

    QPainter& p = *info.dc->GetPainter();
    p.save();
    p.setFont(font());
    p.setPen(ToQColor(m_textColorOnBar));
    const QPoint windowOrigin = info.dc->GetWindowOrg();
    const QString text = FormatBarText(format, value);

    const int angle = m_textEscapement / 10;
    const int cx = m_shapedText.Get(text, p.font()).advance;
    const int cy = QFontMetrics(p.font()).height();
    int eX = 0, eY = 0, oX = 0, oY = 0;
    switch (angle) {
    case 0:
        eX = cx, eY = cy, oY = cy;
        break;
    case 90:
        eX = cy, eY = cx, oX = cy;
        break;
    case 180:
        eX = cx, eY = cy, oY = -cy;
        break;
    case 270:
        eX = cy, eY = cx, oX = -cy;
        break;
    default:
        break;
    }

    const auto placeAt = [&](const RECT& q) {
        p.translate(q.left + (q.right - q.left + oX) / 2, q.top + (q.bottom - q.top + oY) / 2);
    };
    const bool vertical = IsVertical(info.style);
    if ((info.style & RLB_TEXTONBAR) != 0) {
        placeAt(SpanToClientRect(info, bar));
        if ((vertical ? eY : eX) <= bar.end - bar.start)
            DrawClippedText(info, bar, text, windowOrigin);
    } else {
        placeAt(info.client);
        if (m_textColorOnBar == m_textColorOnBk) {
            DrawClippedText(info, full, text, windowOrigin);
        } else {
            if (bar.start != bar.end)
                DrawClippedText(info, bar, text, windowOrigin);
            p.setPen(ToQColor(m_textColorOnBk));
            if (full.end > bar.end)
                DrawClippedText(info, {bar.end, full.end}, text, windowOrigin);
            if (full.start < bar.start)
                DrawClippedText(info, {full.start, bar.start}, text, windowOrigin);
        }
    }
    p.restore();
}

void CRopeBarCtrl::DrawClippedText(const BarDrawInfo& info, BarSpan span, const QString& text,
                                   QPoint windowOrigin) {
    QPainter& p = *info.dc->GetPainter();
    const QRect device = ToQRect(SpanToClientRect(info, span)).translated(-windowOrigin);
    p.save();
    // The clip is given in device coordinates, then the text goes to the moved origin.
    const QTransform placed = p.worldTransform();
    p.resetTransform();
    p.setClipRect(device);
    p.setWorldTransform(placed);
    TextOutCentreBottom(p, m_shapedText.Get(text, p.font()), m_textEscapement / 10);
    p.restore();
}

BOOL CRopeBarCtrl::StepRunningSegment(LRESULT& result, int amount, BOOL relative) {
    if ((GetStyle() & RLB_RUNNING) == 0)
        return FALSE;
    int lower = 0;
    int upper = 0;
    GetRange(lower, upper);
    int next = amount;
    if (relative != 0) {
        int p = GetPos();
        // The control holds the head at the upper bound; the tail knows where it really is.
        if (p == upper && p - m_segmentTail < m_segmentLength)
            p = m_segmentTail + m_segmentLength;
        next = std::abs(amount) + p;
    }
    if (next > upper + m_segmentLength) {
        next = std::min(next - (upper + m_segmentLength - lower), upper + m_segmentLength);
        const DWORD reverse = GetStyle() & RLB_REVERSE;
        ModifyStyle(reverse, reverse ^ RLB_REVERSE);
    }
    m_segmentTail = std::max(next - m_segmentLength, lower);
    result = CProgressCtrl::SetPos(next);
    update();
    return TRUE;
}

} // namespace tensiq
