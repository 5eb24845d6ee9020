#pragma once
// Off-screen drawing context: everything drawn into it reaches the target in one copy when it
// goes out of scope. A printing target, and a widget's painter (whose window is buffered
// already), are drawn on directly, clipped to the area.

#include "DeviceContext.h"

#include <QImage>
#include <QRect>

namespace tensiq {

class CBufferDC : public CDC {
public:
    // area is the target's clip box, in the target's logical coordinates; the buffer is drawn
    // in those same coordinates.
    CBufferDC(CDC& target, const QRect& area);
    ~CBufferDC() override;

    bool InUse() const { return m_inUse; }

private:
    QImage m_bitmap;
    QPainter m_bufferPainter;
    CDC& m_target;
    QRect m_area;
    bool m_inUse = false;
    bool m_direct = false; // drawing on the target's own painter
};

} // namespace tensiq
