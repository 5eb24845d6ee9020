#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace tensiq::report {

inline constexpr int kReportRopes = 12;
// The device's line carries at most this many 40-byte frames a second (230400 baud, 8N1).
inline constexpr double kLineFramesPerSecond = 576.0;
inline constexpr double kSteadySeconds = 2.0;

// One rope's load over the steady window, in kg.
struct RopeLoad {
    double mean = 0.0;
    double deviation = 0.0; // standard deviation of the frames
};

struct SteadyLoads {
    std::array<RopeLoad, kReportRopes> ropes{};
    std::int64_t frames = 0;      // frames the means are taken over
    std::int64_t totalFrames = 0; // frames of the whole run
};

// The frames of the last seconds of a run at a frame rate. A run shorter than that counts whole.
std::int64_t SteadyWindowFrames(double framesPerSecond, double seconds = kSteadySeconds);
// The same for a run that took runSeconds for its frames; the line's rate when that is unknown.
std::int64_t SteadyWindowFramesOfRun(std::int64_t frames, double runSeconds);

// Keeps the newest frames of a run in a fixed ring, so a record of any length is read in one
// pass and constant memory.
class SteadyWindow {
public:
    explicit SteadyWindow(std::int64_t frames);
    void Add(const std::array<std::int32_t, kReportRopes>& loads);
    std::int64_t Frames() const { return m_total; }
    std::int64_t Capacity() const { return static_cast<std::int64_t>(m_ring.size()); }
    // Over the newest frames (at most the capacity); frames 0 when nothing was added.
    SteadyLoads Result(std::int64_t newest) const;
    SteadyLoads Result() const { return Result(Capacity()); }

private:
    std::vector<std::array<std::int32_t, kReportRopes>> m_ring;
    std::size_t m_next = 0;
    std::int64_t m_total = 0;
};

} // namespace tensiq::report
