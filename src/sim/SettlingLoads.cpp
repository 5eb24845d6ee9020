#include "SettlingLoads.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tensiq::sim {

namespace {
constexpr double kWobble = 4.0;
constexpr double kWobbleRate = 0.02; // radians a frame
constexpr int kTerminator = 0x0D;

bool CarriesTerminator(int value) {
    return (value & 0xFF) == kTerminator;
}
} // namespace

void SettlingLoads::Reset(const std::array<std::int16_t, 12>& readings, double frameRate,
                          double timeConstant) {
    m_total = 0;
    for (int k = 0; k < 12; ++k) {
        m_loads[k] = std::max<int>(0, readings[k]);
        m_total += static_cast<long>(m_loads[k]);
    }
    m_mean = static_cast<double>(m_total) / 12.0;
    m_step = 1.0 / std::max(1.0, frameRate * timeConstant);
    m_frame = 0;
}

std::array<int, 12> SettlingLoads::Next() {
    ++m_frame;
    std::array<int, 12> values{};
    long sum = 0;
    for (int k = 0; k < 12; ++k) {
        // Every rope moves the same share of its distance to the mean: the sum stays.
        m_loads[k] += (m_mean - m_loads[k]) * m_step;
        // Twelve phases evenly round the circle add up to nothing.
        const double wobble = kWobble * std::sin(kWobbleRate * static_cast<double>(m_frame) +
                                                 2.0 * std::numbers::pi * k / 12.0);
        values[k] = std::max(0, static_cast<int>(std::lround(m_loads[k] + wobble)));
        sum += values[k];
    }
    // Rounding leaves a few kilograms over or short; the heaviest ropes take them.
    for (long residual = m_total - sum; residual != 0;) {
        const int step = residual > 0 ? 1 : -1;
        const auto it = std::max_element(values.begin(), values.end());
        *it += step;
        residual -= step;
    }
    for (int k = 0; k < 12; ++k) {
        if (!CarriesTerminator(values[k]))
            continue;
        const int partner = (k + 1) % 12;
        if (values[partner] > 0 && !CarriesTerminator(values[partner] - 1) &&
            !CarriesTerminator(values[k] + 1)) {
            ++values[k];
            --values[partner];
        }
    }
    return values;
}

} // namespace tensiq::sim
