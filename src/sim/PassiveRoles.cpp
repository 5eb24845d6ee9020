#include "PassiveRoles.h"

#include <vector>

namespace tensiq::sim {

void NoiseRole::OnTime(Clock::time_point now, Output& out) {
    // 5 ms of a 230400-baud line; nothing is added while the line is still busy.
    constexpr std::size_t kBurst = 115;
    if (out.Pending() < kBurst) {
        std::vector<std::uint8_t> bytes(kBurst);
        for (auto& b : bytes)
            b = NextByte();
        out.Send(bytes.data(), bytes.size());
    }
    m_next = now + std::chrono::milliseconds(5);
}

std::uint8_t NoiseRole::NextByte() {
    if (m_randomBytes)
        return static_cast<std::uint8_t>(m_random());
    do
        ++m_counter;
    while (m_counter == 'L' || m_counter == 'M');
    return m_counter;
}

} // namespace tensiq::sim
