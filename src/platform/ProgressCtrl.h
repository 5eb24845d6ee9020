#pragma once
// Progress bar base: keeps the range, the position and the step, answers the PBM_* messages.

#include "WinTypes.h"

#include <QString>
#include <QWidget>

class QPainter;

namespace tensiq {

inline constexpr UINT PBM_SETRANGE = 0x0401;
inline constexpr UINT PBM_SETPOS = 0x0402;
inline constexpr UINT PBM_DELTAPOS = 0x0403;
inline constexpr UINT PBM_SETSTEP = 0x0404;
inline constexpr UINT PBM_STEPIT = 0x0405;
inline constexpr UINT PBM_SETRANGE32 = 0x0406;
inline constexpr UINT PBM_GETRANGE = 0x0407;
inline constexpr UINT PBM_GETPOS = 0x0408;
inline constexpr UINT PBM_SETBARCOLOR = 0x0409;
inline constexpr UINT PBM_SETBKCOLOR = 0x2001; // CCM_SETBKCOLOR

inline constexpr DWORD PBS_SMOOTH = 0x0001;
inline constexpr DWORD PBS_VERTICAL = 0x0004;

constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>((static_cast<DWORD>(low) & 0xFFFF) |
                               ((static_cast<DWORD>(high) & 0xFFFF) << 16));
}

class CProgressCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CProgressCtrl(QWidget* parent = nullptr, DWORD style = 0);

    // The message interface: dispatches to the methods below.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Each returns what the message returns: the previous position, step or colour.
    virtual int SetPos(int pos);
    virtual int DeltaPos(int delta);
    virtual int SetStep(int step);
    virtual int StepIt();
    // second is the wParam of PBM_SETBARCOLOR, which the platform's own bar ignores.
    virtual COLORREF SetBarColor(COLORREF colour, COLORREF second = 0);
    virtual COLORREF SetBkColor(COLORREF colour);

    int GetPos() const { return m_pos; }
    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;

    DWORD GetStyle() const { return m_style; }
    void ModifyStyle(DWORD remove, DWORD add);
    QString GetWindowText() const { return m_text; }
    void SetWindowText(const QString& text) { m_text = text; }

    // The client area in widget coordinates: inside the one-pixel frame of WS_BORDER.
    QRect ClientArea() const;
    // The client rectangle in client coordinates (left and top 0).
    QRect GetClientRect() const { return QRect(QPoint(0, 0), ClientArea().size()); }

protected:
    // What a new position leaves to be repainted; the whole control here.
    virtual void InvalidatePosChange(int previous, int current);
    void PaintBorder(QPainter& painter) const;
    void paintEvent(QPaintEvent* event) override;

private:
    DWORD m_style;
    QString m_text;
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
    int m_step = 10;
    COLORREF m_barColour = CLR_DEFAULT;
    COLORREF m_bkColour = CLR_DEFAULT;
};

} // namespace tensiq
