#include "StaticCtrl.h"

namespace tensiq {

CStatic::CStatic(QWidget* parent, DWORD style, int id) : QFrame(parent), m_style(style), m_id(id) {
    ApplyFrame();
}

void CStatic::ModifyStyle(DWORD remove, DWORD add) {
    m_style = (m_style & ~remove) | add;
    ApplyFrame();
}

void CStatic::ModifyStyleEx(DWORD remove, DWORD add) {
    m_exStyle = (m_exStyle & ~remove) | add;
    ApplyFrame();
}

void CStatic::ApplyFrame() {
    if ((m_style & WS_BORDER) != 0)
        setFrameStyle(QFrame::Box | QFrame::Plain);
    else if ((m_exStyle & WS_EX_STATICEDGE) != 0)
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
    else
        setFrameStyle(QFrame::NoFrame);
    setLineWidth(1);
    update();
}

} // namespace tensiq
