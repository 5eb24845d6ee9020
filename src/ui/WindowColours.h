#pragma once
// The main window's colours: the rope bars as a run leaves them, and the chart's series.

#include "LiveFrame.h"
#include "WinTypes.h"

#include <array>

namespace tensiq {

inline constexpr COLORREF kBarColour1 = RGB(0, 0, 160);
inline constexpr COLORREF kBarColour2 = RGB(0, 128, 192);
inline constexpr COLORREF kBarBackground = RGB(255, 255, 255);
inline constexpr COLORREF kBarTextOnBar = RGB(255, 255, 255);
inline constexpr COLORREF kBarTextOnBackground = RGB(0, 0, 0);

inline constexpr COLORREF kSeriesYellow = RGB(255, 255, 0);
inline constexpr COLORREF kSeriesCyan = RGB(0, 255, 255);
inline constexpr COLORREF kSeriesGreen = RGB(0, 255, 0);
inline constexpr std::array<COLORREF, kRopes> kSeriesColours = {
    kSeriesYellow, kSeriesYellow, kSeriesCyan, kSeriesGreen, kSeriesYellow, kSeriesCyan,
    kSeriesGreen,  kSeriesYellow, kSeriesCyan, kSeriesGreen, kSeriesYellow, kSeriesCyan};

} // namespace tensiq
