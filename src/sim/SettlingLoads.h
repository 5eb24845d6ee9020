#pragma once
// Rope loads that start unequal and settle slowly toward their mean, as when a technician
// evens out the ropes, with a small wobble; the sum of the twelve never changes.
#include <array>
#include <cstdint>

namespace tensiq::sim {

class SettlingLoads {
public:
    // timeConstant: seconds until the spread has shrunk to about a third.
    void Reset(const std::array<std::int16_t, 12>& readings, double frameRate, double timeConstant);
    // The readings of the next frame. None has 0x0D as its low byte, so a frame's terminator
    // stays the only one in it.
    std::array<int, 12> Next();
    long Total() const { return m_total; }

private:
    std::array<double, 12> m_loads{};
    double m_mean = 0;
    double m_step = 0;
    long m_total = 0;
    long m_frame = 0;
};

} // namespace tensiq::sim
