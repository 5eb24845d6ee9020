#include "WaitBeat.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tensiq {

namespace {

// The handler touches only this thread's own state: lock-free atomics, read and written by the
// thread and by its handler, never by another thread.
struct BeatState {
    std::atomic<std::uint64_t> beats{0};
    std::atomic<int> readFd{-1};
    std::atomic<const termios*> released{nullptr};
    std::atomic<bool> releasedInRead{false};
    bool armed = false;
};

// Initial-exec: the handler must never be the first to touch the thread's storage.
[[gnu::tls_model("initial-exec")]] thread_local BeatState t_beat;

int BeatSignal() {
    return SIGRTMIN + 5;
}

void OnBeat(int) {
    const int saved = errno;
    BeatState& state = t_beat;
    state.beats.fetch_add(1, std::memory_order_relaxed);
    const int fd = state.readFd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        // tcsetattr is async-signal-safe; the read, restarted, returns what has come.
        ::tcsetattr(fd, TCSANOW, state.released.load(std::memory_order_relaxed));
        state.releasedInRead.store(true, std::memory_order_relaxed);
    }
    errno = saved;
}

bool InstallHandler() {
    static const bool installed = [] {
        struct sigaction action {};
        action.sa_handler = OnBeat;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        return ::sigaction(BeatSignal(), &action, nullptr) == 0;
    }();
    return installed;
}

} // namespace

bool WaitBeat::Available() {
#if defined(__SANITIZE_THREAD__)
    return false;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}

WaitBeat::WaitBeat(std::chrono::milliseconds period) {
    if (!Available() || t_beat.armed || period.count() <= 0 || !InstallHandler())
        return;
    sigset_t beat;
    sigemptyset(&beat);
    sigaddset(&beat, BeatSignal());
    if (::pthread_sigmask(SIG_UNBLOCK, &beat, nullptr) != 0)
        return;
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = BeatSignal();
    event._sigev_un._tid = static_cast<pid_t>(::syscall(SYS_gettid));
    if (::timer_create(CLOCK_MONOTONIC, &event, &m_timer) != 0)
        return;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(period);
    const timespec every{static_cast<time_t>(seconds.count()),
                         static_cast<long>((period - seconds) / std::chrono::nanoseconds(1))};
    const itimerspec spec{every, every};
    if (::timer_settime(m_timer, 0, &spec, nullptr) != 0) {
        ::timer_delete(m_timer);
        return;
    }
    m_armed = true;
    t_beat.armed = true;
}

WaitBeat::~WaitBeat() {
    if (!m_armed)
        return;
    // A beat still on its way finds no read to end: the handler stays, and does nothing harmful.
    ::timer_delete(m_timer);
    t_beat.armed = false;
}

std::uint64_t WaitBeat::Beats() {
    return t_beat.beats.load(std::memory_order_relaxed);
}

bool WaitBeat::ArmedHere() {
    return t_beat.armed;
}

void WaitBeat::BeginRead(int fd, const termios* released) {
    t_beat.released.store(released, std::memory_order_relaxed);
    t_beat.releasedInRead.store(false, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    t_beat.readFd.store(fd, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

bool WaitBeat::EndRead() {
    std::atomic_signal_fence(std::memory_order_seq_cst);
    t_beat.readFd.store(-1, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    return t_beat.releasedInRead.exchange(false, std::memory_order_relaxed);
}

} // namespace tensiq
