#pragma once
// Dialog units to pixels for a template's font, the way the dialog manager converts them.

#include "DialogTemplate.h"

#include <QFont>
#include <QRect>
#include <QString>

namespace tensiq {

// The installed family that stands in for a template's font face: "MS Sans Serif" becomes
// Liberation Sans or DejaVu Sans, "Arial" Liberation Sans; any other face is kept.
QString DialogFontFamily(const QString& face);

// The template font at the 96 dpi the layouts were drawn for; Qt's device pixel ratio scales
// beyond that.
QFont DialogFont(const QString& face, int pointSize);

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    explicit DialogUnits(const res::DialogTemplate& dialog);

    // Average character width and the character height of the font, in pixels.
    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }
    const QFont& Font() const { return m_font; }

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    // Both corners are converted, so rectangles that touch in units touch in pixels.
    QRect ToPixels(int x, int y, int cx, int cy) const;
    QRect ToPixels(const res::DialogControl& control) const;
    QSize ClientSize(const res::DialogTemplate& dialog) const;

private:
    QFont m_font;
    int m_baseX = 0;
    int m_baseY = 0;
};

} // namespace tensiq
