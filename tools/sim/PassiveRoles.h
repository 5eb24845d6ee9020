#pragma once
// Ports with no device behind them: one that never answers, one that only carries noise.
#include "PortRole.h"

#include <random>

namespace tensiq::sim {

class SilentRole : public PortRole {
public:
    void OnInput(const std::uint8_t*, std::size_t, Output&) override {}
};

// Random bytes at the full line rate, whatever is sent to it.
class NoiseRole : public PortRole {
public:
    void OnInput(const std::uint8_t*, std::size_t, Output&) override {}
    void OnTime(Clock::time_point now, Output& out) override;
    std::optional<Clock::time_point> NextDue() const override { return m_next; }

private:
    std::mt19937 m_random{12345};
    Clock::time_point m_next = Clock::now();
};

} // namespace tensiq::sim
