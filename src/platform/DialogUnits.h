#pragma once
// Dialog units to pixels, from the dialog font's average character width and height.

#include <QFont>
#include <QRect>
#include <QSize>

namespace tensiq {

// Horizontal and vertical base units of font: x pixels = units x base.width() / 4,
// y pixels = units x base.height() / 8.
QSize DialogBaseUnits(const QFont& font);
QRect DialogUnitsToPixels(const QRect& units, QSize base);

} // namespace tensiq
