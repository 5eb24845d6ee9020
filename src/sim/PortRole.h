#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tensiq::sim {

using Clock = std::chrono::steady_clock;

// Where a role's output goes: the port's queue towards the program.
class Output {
public:
    virtual ~Output() = default;
    virtual void Send(const std::uint8_t* data, std::size_t count) = 0;
    void Send(std::uint8_t byte) { Send(&byte, 1); }
    // A frame whose last byte leaving the line is worth a timestamp (benchmarks).
    virtual void SendFrame(const std::uint8_t* data, std::size_t count, std::uint16_t /*tag*/) {
        Send(data, count);
    }
    // Bytes still queued, not yet on the line.
    virtual std::size_t Pending() const = 0;
    // Ends the line: the port stops carrying bytes until the simulator is restarted.
    virtual void HangUp() = 0;
};

// What is at the far end of one simulated port.
class PortRole {
public:
    virtual ~PortRole() = default;
    virtual void OnInput(const std::uint8_t* data, std::size_t count, Output& out) = 0;
    // Called at or after NextDue().
    virtual void OnTime(Clock::time_point /*now*/, Output& /*out*/) {}
    virtual std::optional<Clock::time_point> NextDue() const { return std::nullopt; }
};

} // namespace tensiq::sim
