#pragma once
// The grey copy of an icon that a button shows while the mouse is elsewhere.

#include <QImage>

namespace tensiq {

// Same size rounded down to even (twice the hot spot), same transparency; every pixel that is
// not black becomes grey = trunc(G * 0.587 + B * 0.114 + R * 0.299). Null for a null icon.
QImage CreateGrayscaleIcon(const QImage& icon);

} // namespace tensiq
