#pragma once
// Vertical rope load bar: background, colour gradient over the filled part, the position as
// text in two colours split at the bar's edge, and a target marker that turns the bar green
// within 2 % of the target and red outside.

#include "BarDrawInfo.h"
#include "ProgressCtrl.h"
#include "ShapedTextCache.h"

#include <QString>

#include <optional>
#include <vector>

namespace tensiq {

inline constexpr DWORD RLB_TEXTMASK = 0x0300;
inline constexpr DWORD RLB_PERCENT = 0x0100;
inline constexpr DWORD RLB_VALUE = 0x0200;
inline constexpr DWORD RLB_TEXTONLY = 0x0300;
inline constexpr DWORD RLB_TEXTONBAR = 0x1000;
inline constexpr DWORD RLB_STRETCH = 0x2000;
inline constexpr DWORD RLB_REVERSE = 0x4000;
inline constexpr DWORD RLB_RUNNING = 0x8000;

class CRopeBarCtrl : public CProgressCtrl {
    Q_OBJECT
public:
    explicit CRopeBarCtrl(QWidget* parent = nullptr, DWORD style = PBS_SMOOTH | PBS_VERTICAL);

    // A null or empty format, or mode 0, removes the text. No repaint.
    void SetTextFormat(const QString& format, DWORD mode);
    void SetTarget(int value, BOOL enabled);

    int SetPos(int pos) override;
    // The number the bar shows: its position, or the value it was last given when that lay
    // beyond its range. A load above the bar's full scale fills the bar, but the bar's end is
    // not the load.
    int ShownValue() const { return m_beyondRange.value_or(GetPos()); }
    int DeltaPos(int delta) override;
    int SetStep(int step) override;
    int StepIt() override;
    // The bar's gradient becomes exactly colour then second (colour again when second is 0).
    COLORREF SetBarColor(COLORREF colour, COLORREF second = 0) override;
    COLORREF SetBkColor(COLORREF colour) override;

    // Escapement of the text, in tenths of a degree counter-clockwise (Qt fonts have none).
    void SetTextEscapement(int tenths) { m_textEscapement = tenths; }

    RECT SpanToClientRect(const BarDrawInfo& info, BarSpan span) const;

    // Written directly by the owner.
    BOOL m_targetEnabled = FALSE;
    int m_target = 0;
    std::vector<COLORREF> m_barColors;
    COLORREF m_bkColor;
    COLORREF m_textColorOnBar;
    COLORREF m_textColorOnBk;
    int m_segmentTail = 0;
    int m_segmentLength = 40;
    int m_step = 10;
    RECT m_margins;

protected:
    virtual void DrawGradientBands(const BarDrawInfo& info, BarSpan gradient, BarSpan clip);
    virtual void DrawGradientBand(const BarDrawInfo& info, BarSpan band, BarSpan clip,
                                  COLORREF start, COLORREF end);
    virtual void DrawBarText(const BarDrawInfo& info, BarSpan full, BarSpan bar);
    virtual void DrawClippedText(const BarDrawInfo& info, BarSpan span, const QString& text,
                                 QPoint windowOrigin);
    // Non-zero when the running segment took the message; result is then its result.
    virtual BOOL StepRunningSegment(LRESULT& result, int amount, BOOL relative);

    void paintEvent(QPaintEvent* event) override;
    void InvalidatePosChange(int previous, int current) override;
    void changeEvent(QEvent* event) override;

private:
    void OnPaint(CDC& paintDC, const QRect& clipBox);
    void SetBeyondRange(std::optional<int> value);

    int m_textEscapement = 0;
    ShapedTextCache m_shapedText;
    int m_lineHeight = -1; // of the font; -1 until asked after a font change
    std::optional<int> m_beyondRange;
};

} // namespace tensiq
