#include "PassiveRoles.h"

#include <vector>

namespace tensiq::sim {

void NoiseRole::OnTime(Clock::time_point now, Output& out) {
    // 5 ms of a 230400-baud line; nothing is added while the line is still busy.
    constexpr std::size_t kBurst = 115;
    if (out.Pending() < kBurst) {
        std::vector<std::uint8_t> bytes(kBurst);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(m_random());
        out.Send(bytes.data(), bytes.size());
    }
    m_next = now + std::chrono::milliseconds(5);
}

} // namespace tensiq::sim
