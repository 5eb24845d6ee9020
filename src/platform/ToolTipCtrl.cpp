#include "ToolTipCtrl.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QToolTip>

namespace tensiq {

namespace {
constexpr int kInitialDelayMs = 500;
constexpr int kMargin = 3;
} // namespace

CToolTipCtrl::CToolTipCtrl(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::BypassGraphicsProxyWidget) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setWordWrap(true);
    setMargin(kMargin);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setTextFormat(Qt::PlainText);
    m_delay.setSingleShot(true);
    m_delay.setInterval(kInitialDelayMs);
    connect(&m_delay, &QTimer::timeout, this, [this] { Popup(m_lastPos + QPoint(0, 20)); });
}

void CToolTipCtrl::Activate(bool active) {
    m_active = active;
    if (!active) {
        m_delay.stop();
        hide();
    }
}

int CToolTipCtrl::SetMaxTipWidth(int width) {
    const int previous = m_maxWidth;
    m_maxWidth = width;
    return previous;
}

void CToolTipCtrl::AddTool(int id, const QRect& rect) {
    m_toolId = id;
    m_toolRect = rect;
}

void CToolTipCtrl::UpdateTipText(const QString& tip) {
    setText(tip);
    const QFontMetrics fm(font());
    const int frame = 2 * (kMargin + frameWidth());
    QRect block = fm.boundingRect(tip);
    if (m_maxWidth > 0 && block.width() > m_maxWidth - frame)
        block = fm.boundingRect(QRect(0, 0, m_maxWidth - frame, 10000), Qt::TextWordWrap, tip);
    resize(block.width() + frame + 1, block.height() + frame);
}

void CToolTipCtrl::RelayEvent(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* move = static_cast<const QMouseEvent*>(event);
        m_lastPos = move->globalPosition().toPoint();
        if (m_active && m_toolId >= 0 && !text().isEmpty() && !isVisible() &&
            m_toolRect.contains(move->position().toPoint()))
            m_delay.start();
        break;
    }
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Hide:
        m_delay.stop();
        hide();
        break;
    default:
        break;
    }
}

void CToolTipCtrl::Popup(const QPoint& globalPos) {
    if (!m_active || text().isEmpty())
        return;
    move(globalPos);
    show();
}

} // namespace tensiq
