#include "SteadyLoads.h"

#include <algorithm>
#include <cmath>

namespace tensiq::report {

std::int64_t SteadyWindowFrames(double framesPerSecond, double seconds) {
    if (!(framesPerSecond > 0.0) || !(seconds > 0.0))
        return 1;
    const double frames = std::ceil(framesPerSecond * seconds);
    // A rate far beyond the line's is a mistake; the ring must stay small.
    return static_cast<std::int64_t>(std::clamp(frames, 1.0, 100.0 * kLineFramesPerSecond));
}

std::int64_t SteadyWindowFramesOfRun(std::int64_t frames, double runSeconds) {
    if (frames <= 0 || !(runSeconds > 0.0))
        return SteadyWindowFrames(kLineFramesPerSecond);
    return SteadyWindowFrames(static_cast<double>(frames) / runSeconds);
}

SteadyWindow::SteadyWindow(std::int64_t frames)
    : m_ring(static_cast<std::size_t>(std::max<std::int64_t>(frames, 1))) {}

void SteadyWindow::Add(const std::array<std::int32_t, kReportRopes>& loads) {
    m_ring[m_next] = loads;
    m_next = (m_next + 1) % m_ring.size();
    ++m_total;
}

SteadyLoads SteadyWindow::Result(std::int64_t newest) const {
    SteadyLoads out;
    out.totalFrames = m_total;
    const auto used = static_cast<std::size_t>(
        std::clamp<std::int64_t>(std::min<std::int64_t>(newest, m_total), 0, Capacity()));
    out.frames = static_cast<std::int64_t>(used);
    if (used == 0)
        return out;
    const std::size_t n = m_ring.size();
    const auto frame = [&](std::size_t back) -> const auto& {
        return m_ring[(m_next + n - 1 - back) % n];
    };
    for (int k = 0; k < kReportRopes; ++k) {
        double sum = 0.0;
        for (std::size_t i = 0; i < used; ++i)
            sum += frame(i)[k];
        const double mean = sum / static_cast<double>(used);
        double squares = 0.0;
        for (std::size_t i = 0; i < used; ++i) {
            const double d = frame(i)[k] - mean;
            squares += d * d;
        }
        out.ropes[k] = {mean, std::sqrt(squares / static_cast<double>(used))};
    }
    return out;
}

} // namespace tensiq::report
