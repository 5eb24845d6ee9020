#pragma once
#include <chrono>
#include <cstdint>
#include <ctime>
#include <termios.h>

namespace tensiq {

// Ends the calling thread's blocking port reads at their deadlines, so that one read(2) is both
// the wait for a frame and its taking. A per-thread one-shot timer sends a real-time signal;
// its handler ends a read by setting the port's wake-up minimum (VMIN) to 0, which makes the
// restarted read hand over what is there at once. The handler is installed with SA_RESTART, so
// a file write or any other call it lands in simply goes on.
//
// The timer is set again only when a read's deadline is well past it, or before it: while
// frames flow, each read ends with its frame long before the timer would go off, and the timer
// costs one timer_settime(2) a kKeepWindow at most and no signal at all.
//
// While armed, nothing else on the thread may set the port's settings during a read: the port
// sets them only between reads. Disarmed when it goes out of scope.
class ReadDeadline {
public:
    using Clock = std::chrono::steady_clock;

    // A read may end up to this much before its deadline, when the timer was set for an
    // earlier read: the wait is then shorter than asked, never longer.
    static constexpr auto kKeepWindow = std::chrono::milliseconds(25);

    ReadDeadline();
    ~ReadDeadline();
    ReadDeadline(const ReadDeadline&) = delete;
    ReadDeadline& operator=(const ReadDeadline&) = delete;

    // False when no timer could be had, or where the timer cannot end reads; the thread then
    // waits with poll(2).
    bool Armed() const { return m_armed; }
    // Whether the timer can end reads in this build. The thread sanitizer holds a signal back
    // until the thread leaves a read, which it does not count as blocking: there it cannot.
    static bool Available();
    // Whether a deadline timer is armed on the calling thread.
    static bool ArmedHere();
    // How often the calling thread's timer has gone off, and how often it was set; for tests
    // and benchmarks.
    static std::uint64_t Expiries();
    static std::uint64_t Settings();

    // Brackets a blocking read of fd that must end by deadline: the timer going off in
    // between ends it by applying released, the port's settings with VMIN 0. False when the
    // read must not block (no timer armed, it could not be set, or the deadline has passed or
    // came before the read could be ended); EndRead is called all the same. EndRead says
    // whether released was applied, so the port knows its minimum is 0 now.
    static bool BeginRead(int fd, const termios* released, Clock::time_point deadline);
    static bool EndRead();

private:
    bool m_armed = false;
};

} // namespace tensiq
