#pragma once
#include <chrono>
#include <cstdint>
#include <ctime>
#include <termios.h>

namespace tensiq {

// A steady beat on the calling thread that ends its blocking port reads, so that one read(2)
// is both the wait for a frame and its taking, and still no wait outlasts a beat. A per-thread
// timer sends a real-time signal; its handler is installed with SA_RESTART, so a file write or
// any other call the beat lands in simply goes on, and a port read is ended by the handler
// setting the port's wake-up minimum (VMIN) to 0, which makes the restarted read hand over what
// is there at once. While the beat is armed nothing else on the thread may set the port's
// settings: the port does so only between reads. Disarmed when it goes out of scope.
class WaitBeat {
public:
    explicit WaitBeat(std::chrono::milliseconds period);
    ~WaitBeat();
    WaitBeat(const WaitBeat&) = delete;
    WaitBeat& operator=(const WaitBeat&) = delete;

    // False when no timer could be had, or where beats cannot end reads; the thread then waits
    // with poll(2).
    bool Armed() const { return m_armed; }
    // Whether beats can end reads in this build. The thread sanitizer holds a signal back
    // until the thread leaves a read, which it does not count as blocking: there they cannot.
    static bool Available();
    // Beats the thread has had since it was armed.
    static std::uint64_t Beats();
    // Whether a beat is armed on the calling thread.
    static bool ArmedHere();

    // Brackets a blocking read of fd: a beat in between ends it by applying released, the
    // port's settings with VMIN 0. EndRead says whether that happened, so the port knows its
    // minimum is 0 now.
    static void BeginRead(int fd, const termios* released);
    static bool EndRead();

private:
    bool m_armed = false;
    timer_t m_timer{};
};

} // namespace tensiq
