#pragma once
// Device context base: a painter and the logical point that its window origin names.

#include <QPainter>
#include <QPoint>

namespace tensiq {

class CDC {
public:
    CDC() = default;
    explicit CDC(QPainter* painter) : m_painter(painter) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    QPainter* GetPainter() const { return m_painter; }
    // The logical point drawn at the device's (0, 0).
    QPoint GetWindowOrg() const { return m_windowOrg; }
    bool IsPrinting() const;
    // Colour depth of the device; 32 for a painter without one.
    int BitsPerPixel() const;

protected:
    QPainter* m_painter = nullptr;
    QPoint m_windowOrg;
};

} // namespace tensiq
