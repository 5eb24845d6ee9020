#include "MeasurementScale.h"

#include <cmath>
#include <limits>

namespace tensiq {

int MeasurementFullScale(std::int8_t factor, double unitFactor) {
    const double scale = std::trunc(static_cast<double>(factor) * unitFactor * 1000.0);
    // A display factor from the form cannot get here, but a NaN or a huge one must not be UB.
    if (std::isnan(scale))
        return 0;
    if (scale < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (scale > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(scale);
}

} // namespace tensiq
