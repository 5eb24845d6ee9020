#pragma once
// One trace of the line chart: its colour, its vertical range and its two newest values.

#include "WinTypes.h"

#include <cstdint>

namespace tensiq {

struct ChartSeries {
    COLORREF color = 0;
    std::uint32_t lowerBound = 0;
    std::uint32_t fullScale = 0;
    std::uint32_t currentValue = 0;
    std::uint32_t previousValue = 0;
};

} // namespace tensiq
