#pragma once
// Static control base: style bits, extended style, window text and control id.

#include "WinTypes.h"

#include <QFrame>
#include <QString>

namespace tensiq {

inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_CENTER = 0x0001;
inline constexpr DWORD SS_RIGHT = 0x0002;
inline constexpr DWORD SS_LEFTNOWORDWRAP = 0x000C;
inline constexpr DWORD SS_TYPEMASK = 0x001F;
inline constexpr DWORD SS_NOTIFY = 0x0100;
inline constexpr DWORD SS_CENTERIMAGE = 0x0200;

class CStatic : public QFrame {
    Q_OBJECT
public:
    explicit CStatic(QWidget* parent = nullptr, DWORD style = SS_LEFT, int id = -1);

    DWORD GetStyle() const { return m_style; }
    DWORD GetExStyle() const { return m_exStyle; }
    // WS_BORDER and WS_EX_STATICEDGE become the frame; the contents rectangle is the client area.
    void ModifyStyle(DWORD remove, DWORD add);
    void ModifyStyleEx(DWORD remove, DWORD add);

    QString GetWindowText() const { return m_text; }
    void SetWindowText(const QString& text) { m_text = text; }
    int GetDlgCtrlID() const { return m_id; }

private:
    void ApplyFrame();

    DWORD m_style;
    DWORD m_exStyle = 0;
    QString m_text;
    int m_id;
};

} // namespace tensiq
