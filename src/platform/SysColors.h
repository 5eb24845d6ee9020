#pragma once
// System colours, taken from the application's palette.

#include "WinTypes.h"

#include <QPalette>

namespace tensiq {

inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;

COLORREF GetSysColor(int index, const QPalette& palette);
// From the application palette.
COLORREF GetSysColor(int index);

} // namespace tensiq
