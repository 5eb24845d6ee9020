#pragma once
#include <cstdint>

namespace tensiq {

// The top of the bars and of the chart while a run is on, in bar units:
// trunc(factor × display factor × 1000) in double precision, in that order. The bars take it
// whole, as the chart does; cut to 16 bits it would wrap from factor 66 on (30 in lbs).
int MeasurementFullScale(std::int8_t factor, double unitFactor);

} // namespace tensiq
