#pragma once
#include <cstdint>

namespace tensiq {

// The top of the bars and of the chart at the start of a run, in bar units:
// trunc(factor × display factor × 1000) in double precision, in that order.
int MeasurementFullScale(std::int8_t factor, double unitFactor);

// The bars keep their range in 16 bits, so they get the full scale's low 16 bits; the chart
// takes it whole.
inline int RunBarUpperBound(int fullScale) {
    return fullScale & 0xFFFF;
}

} // namespace tensiq
