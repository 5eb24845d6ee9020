#include "ProgressCtrl.h"

#include "SysColors.h"

#include <QPainter>

#include <algorithm>

namespace tensiq {

CProgressCtrl::CProgressCtrl(QWidget* parent, DWORD style) : QWidget(parent), m_style(style) {}

LRESULT CProgressCtrl::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
        const LRESULT previous = MAKELPARAM(m_lower, m_upper);
        if (message == PBM_SETRANGE)
            SetRange(static_cast<int>(lParam & 0xFFFF), static_cast<int>((lParam >> 16) & 0xFFFF));
        else
            SetRange(static_cast<int>(wParam), static_cast<int>(lParam));
        return previous;
    }
    case PBM_SETPOS:
        return SetPos(static_cast<int>(wParam));
    case PBM_DELTAPOS:
        return DeltaPos(static_cast<int>(wParam));
    case PBM_SETSTEP:
        return SetStep(static_cast<int>(wParam));
    case PBM_STEPIT:
        return StepIt();
    case PBM_GETRANGE:
        return wParam != 0 ? m_lower : m_upper;
    case PBM_GETPOS:
        return m_pos;
    case PBM_SETBARCOLOR:
        return SetBarColor(static_cast<COLORREF>(lParam), static_cast<COLORREF>(wParam));
    case PBM_SETBKCOLOR:
        return SetBkColor(static_cast<COLORREF>(lParam));
    default:
        return 0;
    }
}

int CProgressCtrl::SetPos(int pos) {
    const int previous = m_pos;
    m_pos = std::clamp(pos, m_lower, std::max(m_lower, m_upper));
    if (m_pos != previous)
        InvalidatePosChange(previous, m_pos);
    return previous;
}

void CProgressCtrl::InvalidatePosChange(int, int) {
    update();
}

int CProgressCtrl::DeltaPos(int delta) {
    return CProgressCtrl::SetPos(m_pos + delta);
}

int CProgressCtrl::SetStep(int step) {
    const int previous = m_step;
    m_step = step;
    return previous;
}

int CProgressCtrl::StepIt() {
    // Past either end the bar starts over from the other one.
    const int span = std::max(1, m_upper - m_lower);
    int pos = m_pos + m_step;
    if (pos > m_upper)
        pos = m_lower + (pos - m_upper) % span;
    else if (pos < m_lower)
        pos = m_upper - (m_lower - pos) % span;
    return CProgressCtrl::SetPos(pos);
}

COLORREF CProgressCtrl::SetBarColor(COLORREF colour, COLORREF) {
    const COLORREF previous = m_barColour;
    m_barColour = colour;
    update();
    return previous;
}

COLORREF CProgressCtrl::SetBkColor(COLORREF colour) {
    const COLORREF previous = m_bkColour;
    m_bkColour = colour;
    update();
    return previous;
}

void CProgressCtrl::SetRange(int lower, int upper) {
    // The position stays as it is until the next one is set, even outside the new range.
    m_lower = lower;
    m_upper = upper;
    update();
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
    lower = m_lower;
    upper = m_upper;
}

void CProgressCtrl::ModifyStyle(DWORD remove, DWORD add) {
    m_style = (m_style & ~remove) | add;
}

QRect CProgressCtrl::ClientArea() const {
    return (m_style & WS_BORDER) != 0 ? rect().adjusted(1, 1, -1, -1) : rect();
}

void CProgressCtrl::PaintBorder(QPainter& painter) const {
    if ((m_style & WS_BORDER) == 0)
        return;
    const QColor frame = ToQColor(GetSysColor(COLOR_WINDOWFRAME));
    const QRect r = rect();
    painter.fillRect(r.left(), r.top(), r.width(), 1, frame);
    painter.fillRect(r.left(), r.bottom(), r.width(), 1, frame);
    painter.fillRect(r.left(), r.top(), 1, r.height(), frame);
    painter.fillRect(r.right(), r.top(), 1, r.height(), frame);
}

void CProgressCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintBorder(painter);
    const QRect client = ClientArea();
    const COLORREF bk = m_bkColour == CLR_DEFAULT ? GetSysColor(COLOR_BTNFACE) : m_bkColour;
    const COLORREF bar =
        m_barColour == CLR_DEFAULT ? GetSysColor(COLOR_ACTIVECAPTION) : m_barColour;
    painter.fillRect(client, ToQColor(bk));
    if (m_upper <= m_lower || m_pos < m_lower || m_pos > m_upper)
        return;
    const bool vertical = (m_style & PBS_VERTICAL) != 0;
    const int length = vertical ? client.height() : client.width();
    const int filled =
        static_cast<int>(static_cast<long long>(m_pos - m_lower) * length / (m_upper - m_lower));
    const QRect part =
        vertical ? QRect(client.left(), client.bottom() + 1 - filled, client.width(), filled)
                 : QRect(client.left(), client.top(), filled, client.height());
    painter.fillRect(part, ToQColor(bar));
}

} // namespace tensiq
