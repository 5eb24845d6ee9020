#pragma once
#include <chrono>

namespace tensiq {

// Paces a transfer whose only flow control is a pause between chunks. The pause counts from the
// start of one chunk to the start of the next, against the clock, so the time a write takes and
// a late wake-up are not added on top of every pause; no gap is ever shorter than the period.
class ChunkPacer {
public:
    using Clock = std::chrono::steady_clock;

    // Where the time comes from; tests give a clock of their own and count the waits.
    class Timing {
    public:
        virtual ~Timing() = default;
        virtual Clock::time_point Now() = 0;
        virtual void SleepUntil(Clock::time_point when) = 0;
    };

    explicit ChunkPacer(Clock::duration period, Timing* timing = nullptr);
    ~ChunkPacer();
    ChunkPacer(const ChunkPacer&) = delete;
    ChunkPacer& operator=(const ChunkPacer&) = delete;

    // Call right before each chunk: returns once it is due (at once for the first).
    void WaitForTurn();
    int Waits() const { return m_waits; }

private:
    Clock::duration m_period;
    Timing* m_timing;
    bool m_started = false;
    Clock::time_point m_lastStart{};
    int m_waits = 0;
    unsigned long m_savedSlack = 0;
};

} // namespace tensiq
