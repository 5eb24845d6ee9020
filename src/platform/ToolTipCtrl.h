#pragma once
// Tool tip window for one tool: shown after the mouse rests on the tool, wrapped at a maximum
// width.

#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QTimer>

namespace tensiq {

class CToolTipCtrl : public QLabel {
    Q_OBJECT
public:
    // owner receives the tool and owns the tip, which is its own top-level window.
    explicit CToolTipCtrl(QWidget* owner);

    void Activate(bool active);
    bool IsActive() const { return m_active; }
    int SetMaxTipWidth(int width);
    int GetMaxTipWidth() const { return m_maxWidth; }
    // rect is in the owner's coordinates.
    void AddTool(int id, const QRect& rect);
    int GetToolCount() const { return m_toolId >= 0 ? 1 : 0; }
    void UpdateTipText(const QString& text);
    QString GetTipText() const { return text(); }
    // The owner passes every event through here.
    void RelayEvent(const QEvent* event);
    // Shows the tip now, below and right of globalPos.
    void Popup(const QPoint& globalPos);

private:
    QTimer m_delay;
    QPoint m_lastPos;
    QRect m_toolRect;
    int m_toolId = -1;
    int m_maxWidth = -1;
    bool m_active = true;
};

} // namespace tensiq
