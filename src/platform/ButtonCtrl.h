#pragma once
// Push button base: style bits and control id on top of Qt's push button.

#include "WinTypes.h"

#include <QPushButton>

namespace tensiq {

inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr DWORD BS_CHECKBOX = 0x0002;
inline constexpr DWORD BS_OWNERDRAW = 0x000B;
inline constexpr DWORD BS_TYPEMASK = 0x001F;
inline constexpr DWORD BS_MULTILINE = 0x2000;

inline constexpr UINT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr UINT DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr UINT DLGC_BUTTON = 0x2000;

// Draw-item states.
inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_DISABLED = 0x0004;
inline constexpr UINT ODS_FOCUS = 0x0010;

class CButton : public QPushButton {
    Q_OBJECT
public:
    explicit CButton(QWidget* parent = nullptr, DWORD style = BS_PUSHBUTTON, int id = -1);

    DWORD GetStyle() const { return m_style; }
    void ModifyStyle(DWORD remove, DWORD add);
    QString GetWindowText() const { return text(); }
    void SetWindowText(const QString& caption) { setText(caption); }
    int GetDlgCtrlID() const { return m_id; }

    // The draw-item state of this moment: ODS_SELECTED, ODS_FOCUS, ODS_DISABLED.
    UINT DrawItemState() const;

private:
    DWORD m_style;
    int m_id;
};

} // namespace tensiq
