#include "ButtonCtrl.h"

namespace tensiq {

CButton::CButton(QWidget* parent, DWORD style, int id)
    : QPushButton(parent), m_style(style), m_id(id) {}

void CButton::ModifyStyle(DWORD remove, DWORD add) {
    m_style = (m_style & ~remove) | add;
}

UINT CButton::DrawItemState() const {
    UINT state = 0;
    if (isDown())
        state |= ODS_SELECTED;
    if (hasFocus())
        state |= ODS_FOCUS;
    if (!isEnabled())
        state |= ODS_DISABLED;
    return state;
}

} // namespace tensiq
