#include "BufferDC.h"

#include <QPaintDevice>

namespace tensiq {

CBufferDC::CBufferDC(CDC& target, const QRect& area) : m_target(target), m_area(area) {
    if (target.IsPrinting() || area.isEmpty()) {
        m_painter = target.GetPainter();
        m_windowOrg = target.GetWindowOrg();
        return;
    }
    const QPaintDevice* device = target.GetPainter()->device();
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
    if (!m_inUse) {
        m_painter = nullptr;
        return;
    }
    m_bufferPainter.end();
    m_target.GetPainter()->drawImage(m_area.topLeft(), m_bitmap);
}

} // namespace tensiq
