#pragma once
// Static text line with its own font, colours and background, drawn without flicker: optional
// shadow, rotation, gradient background, see-through drawing, blinking and a link click.

#include "LogFont.h"
#include "StaticCtrl.h"

#include <QCursor>
#include <QString>

#include <optional>

namespace tensiq {

inline constexpr unsigned kCaptionLabelClickCode = 0x8200;

class CCaptionLabel : public CStatic {
    Q_OBJECT
public:
    explicit CCaptionLabel(QWidget* parent = nullptr, DWORD style = SS_LEFT, int id = -1);
    ~CCaptionLabel() override;

    // Every setter returns the label, so that calls chain.
    virtual CCaptionLabel& SetBackground(COLORREF colour, COLORREF endColour = 0,
                                         BOOL gradient = FALSE);
    virtual CCaptionLabel& SetForeColor(COLORREF colour);
    // Safe from any thread: another thread's text is handed to the label's own thread.
    virtual CCaptionLabel& SetCaption(const QString& text, BOOL repaint);
    virtual CCaptionLabel& SetBold(BOOL on);
    virtual CCaptionLabel& SetFaceName(const QString& name, unsigned char charset);
    virtual CCaptionLabel& SetUnderline(BOOL on);
    virtual CCaptionLabel& SetItalic(BOOL on);
    virtual CCaptionLabel& SetPointSize(int points);
    virtual CCaptionLabel& SetStaticEdge(BOOL on);
    virtual CCaptionLabel& SetFrameBorder(BOOL on);
    virtual CCaptionLabel& SetSeeThrough(BOOL on);
    virtual CCaptionLabel& BlinkText(BOOL on);
    virtual CCaptionLabel& BlinkBackground(BOOL on);
    virtual CCaptionLabel& SetUrlLink(BOOL on, BOOL notify);
    virtual CCaptionLabel& SetPointerCursor(const QCursor& cursor);
    virtual CCaptionLabel& SetShadowText(BOOL on, int direction);
    virtual CCaptionLabel& SetAngle(int degrees, BOOL on);
    virtual CCaptionLabel& SetShadowColor(COLORREF colour);
    virtual CCaptionLabel& SetLogFont(const LOGFONT& description);
    virtual CCaptionLabel& SetMailtoLink(BOOL on, BOOL notify);
    virtual CCaptionLabel& SetLinkTarget(const QString& url);

    QString GetCaption() const { return m_caption; }
    const LOGFONT& GetLogFont() const { return m_logFont; }
    const QFont& GetLabelFont() const { return m_font; }

signals:
    // A click in notify mode: the control id and kCaptionLabelClickCode.
    void Notify(int id, unsigned code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Repaint();
    void NewFont();
    void StopBlinkTimer();
    int TextFormat() const;
    void PaintGradient(QPainter& painter, const QRect& g) const;

    COLORREF m_foreColor;
    COLORREF m_shadowColor = RGB(255, 255, 255);
    COLORREF m_faceBrush;
    std::optional<COLORREF> m_backgroundBrush;
    LOGFONT m_logFont;
    QFont m_font;
    BOOL m_blinkPhase = FALSE;
    int m_blinkTimer = 0; // Qt's id of the running blink timer, 0 when none
    int m_linkMode = 0;   // 0 none, 1 web link, 2 mail link
    BOOL m_seeThrough = FALSE;
    BOOL m_shadow = FALSE;
    BOOL m_notifyOnClick = FALSE;
    BOOL m_rotated = FALSE;
    int m_blinkMode = 0; // 0 none, 1 text, 2 background
    int m_shadowDirection = 0;
    BOOL m_gradient = FALSE;
    COLORREF m_gradientEnd = 0;
    COLORREF m_backgroundColor = 0;
    QString m_linkTarget;
    QString m_caption;
};

} // namespace tensiq
