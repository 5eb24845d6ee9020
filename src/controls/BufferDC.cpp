#include "BufferDC.h"

#include <QPaintDevice>

namespace tensiq {

namespace {

// A widget paints into its window's backing store, which is off-screen already and reaches the
// screen in one flush; a second buffer would only copy every pixel once more.
bool BackedByTheWindow(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device != nullptr && device->devType() == QInternal::Widget &&
           painter.worldTransform().type() <= QTransform::TxTranslate;
}

} // namespace

CBufferDC::CBufferDC(CDC& target, const QRect& area) : m_target(target), m_area(area) {
    if (target.IsPrinting() || area.isEmpty()) {
        m_painter = target.GetPainter();
        m_windowOrg = target.GetWindowOrg();
        return;
    }
    QPainter& painter = *target.GetPainter();
    if (BackedByTheWindow(painter)) {
        m_painter = &painter;
        m_painter->save();
        m_painter->setClipRect(area, Qt::IntersectClip);
        // The logical point at the device's origin, as the buffer would have it.
        const QTransform& t = painter.worldTransform();
        m_windowOrg = QPoint(-qRound(t.dx()), -qRound(t.dy()));
        m_direct = true;
        return;
    }
    const QPaintDevice* device = painter.device();
    const qreal ratio = device != nullptr ? device->devicePixelRatioF() : 1.0;
    m_bitmap = QImage(area.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_bitmap.setDevicePixelRatio(ratio);
    m_bufferPainter.begin(&m_bitmap);
    m_bufferPainter.translate(-area.topLeft());
    m_painter = &m_bufferPainter;
    m_windowOrg = area.topLeft();
    m_inUse = true;
}

CBufferDC::~CBufferDC() {
    if (m_direct)
        m_painter->restore();
    if (!m_inUse) {
        m_painter = nullptr;
        return;
    }
    m_bufferPainter.end();
    m_target.GetPainter()->drawImage(m_area.topLeft(), m_bitmap);
}

} // namespace tensiq
