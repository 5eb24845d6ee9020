#pragma once
// Ports with no device behind them: one that never answers, one that only carries noise.
#include "PortRole.h"

#include <random>

namespace tensiq::sim {

class SilentRole : public PortRole {
public:
    void OnInput(const std::uint8_t*, std::size_t, Output&) override {}
};

// Bytes at the full line rate, whatever is sent to it. By default a fixed sequence that holds
// every byte value but L and M, so a probe that catches six of its bytes never takes it for a
// device and tests give the same result every run; random noise may, as a real line may.
class NoiseRole : public PortRole {
public:
    explicit NoiseRole(bool random = false) : m_randomBytes(random) {}
    void OnInput(const std::uint8_t*, std::size_t, Output&) override {}
    void OnTime(Clock::time_point now, Output& out) override;
    std::optional<Clock::time_point> NextDue() const override { return m_next; }

private:
    std::uint8_t NextByte();

    bool m_randomBytes;
    std::uint8_t m_counter = 0;
    std::mt19937 m_random{std::random_device{}()};
    Clock::time_point m_next = Clock::now();
};

} // namespace tensiq::sim
