#include "ChunkPacer.h"

#include <cerrno>
#include <ctime>
#include <sys/prctl.h>

namespace tensiq {

namespace {

class SystemTiming : public ChunkPacer::Timing {
public:
    ChunkPacer::Clock::time_point Now() override { return ChunkPacer::Clock::now(); }
    void SleepUntil(ChunkPacer::Clock::time_point when) override {
        // steady_clock is CLOCK_MONOTONIC; an absolute wake-up does not drift with the call.
        const auto ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch());
        const timespec at{static_cast<time_t>(ns.count() / 1'000'000'000),
                          static_cast<long>(ns.count() % 1'000'000'000)};
        while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
        }
    }
};

SystemTiming g_systemTiming;

// The thread's default timer slack of 50 us would add itself to every 1 ms pause.
constexpr unsigned long kPacingSlackNs = 1000;

} // namespace

ChunkPacer::ChunkPacer(Clock::duration period, Timing* timing)
    : m_period(period), m_timing(timing != nullptr ? timing : &g_systemTiming) {
    if (timing == nullptr) {
        const int slack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
        if (slack > 0) {
            m_savedSlack = static_cast<unsigned long>(slack);
            ::prctl(PR_SET_TIMERSLACK, kPacingSlackNs, 0, 0, 0);
        }
    }
}

ChunkPacer::~ChunkPacer() {
    if (m_savedSlack != 0)
        ::prctl(PR_SET_TIMERSLACK, m_savedSlack, 0, 0, 0);
}

void ChunkPacer::WaitForTurn() {
    Clock::time_point now = m_timing->Now();
    if (m_started && now < m_lastStart + m_period) {
        m_timing->SleepUntil(m_lastStart + m_period);
        ++m_waits;
        now = m_timing->Now();
        // A wake-up a little early on some clock would make a short gap.
        while (now < m_lastStart + m_period) {
            m_timing->SleepUntil(m_lastStart + m_period);
            now = m_timing->Now();
        }
    }
    m_started = true;
    m_lastStart = now;
}

} // namespace tensiq
