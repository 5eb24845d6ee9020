#include "DeviceContext.h"

#include <QPaintDevice>

namespace tensiq {

bool CDC::IsPrinting() const {
    if (m_painter == nullptr || m_painter->device() == nullptr)
        return false;
    const int type = m_painter->device()->devType();
    return type == QInternal::Printer;
}

int CDC::BitsPerPixel() const {
    if (m_painter == nullptr || m_painter->device() == nullptr)
        return 32;
    return m_painter->device()->depth();
}

} // namespace tensiq
