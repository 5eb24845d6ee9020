#pragma once
// Flat owner-drawn push button with a 32 x 32 icon beside its caption: raised edge under the
// mouse, sunken while pressed, etched caption when disabled, and a tool tip.

#include "ButtonCtrl.h"
#include "ToolTipCtrl.h"

#include <QImage>
#include <QString>

#include <memory>

namespace tensiq {

class CIconButton : public CButton {
    Q_OBJECT
public:
    // As an out icon: the grey copy of the in icon.
    static constexpr int kGreyCopy = -2;
    static constexpr int kImageMargin = 3;

    // style is the control's style in the dialog template.
    explicit CIconButton(QWidget* parent = nullptr, DWORD style = BS_PUSHBUTTON, int id = -1);
    ~CIconButton() override;

    // From the current resource module, the one the language choice made current; outId 0,
    // kGreyCopy or an icon id.
    int SetIcons(int inId, int outId);
    // 0, or 1 when an icon is unusable (then the button holds no icon at all).
    int SetIconHandles(const QImage& in, const QImage& out);
    int SetIconHandles(const QImage& in, int outSpecial);
    // A null text does nothing; an empty one is set as it is.
    void SetToolTip(const QString& text, BOOL activate);
    int SetCheck(BOOL checked, BOOL repaint);
    BOOL GetCheck() const { return m_checked; }
    UINT OnGetDlgCode() const;
    // What the dialog manager sends to move the default state (BM_SETSTYLE).
    void SetButtonStyle(UINT style, BOOL redraw);

    BOOL IsHover() const { return m_hover; }
    BOOL IsDefault() const { return m_default; }
    BOOL IsCheckMode() const { return m_checkMode; }
    CToolTipCtrl* GetToolTip() const { return m_toolTip.get(); }
    const QImage& IconIn() const { return m_iconIn.image; }
    const QImage& IconOut() const { return m_iconOut.image; }

protected:
    virtual void DrawFace(QPainter& dc, const QRect& rect);
    virtual void DrawFrame(QPainter& dc, const QRect& rect);
    virtual void DrawIconImage(QPainter& dc, bool hasCaption, const QRect& item, QRect& caption,
                               bool pressed, bool disabled);
    virtual void DrawCaption(QPainter& dc, const QString& caption, const QRect& item,
                             QRect captionRect, bool pressed, bool disabled);
    virtual void DrawItem(QPainter& dc, UINT state);

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct IconEntry {
        QImage image;
        int width = 0;
        int height = 0;
    };

    void PreSubclassWindow();
    void OnClicked();
    void EndHover();
    void CreateToolTip();
    void MoveFocusOn();
    int StoreIcons(const QImage& in, const QImage& out);

    BOOL m_hover = FALSE;
    BOOL m_pressed = FALSE;
    BOOL m_focused = FALSE;
    BOOL m_disabled = FALSE;
    BOOL m_default = FALSE;
    BOOL m_checkMode = FALSE;
    BOOL m_checked = FALSE;
    COLORREF m_faceColor;
    COLORREF m_textColor;
    IconEntry m_iconIn;
    IconEntry m_iconOut;
    std::unique_ptr<CToolTipCtrl> m_toolTip;
};

} // namespace tensiq
