#include "ReadDeadline.h"

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
struct DeadlineState {
    std::atomic<std::uint64_t> expiries{0};
    std::atomic<bool> expired{false};
    std::atomic<int> readFd{-1};
    std::atomic<const termios*> released{nullptr};
    std::atomic<bool> releasedInRead{false};
    bool armed = false;
    timer_t timer{};
    ReadDeadline::Clock::time_point due{};
    std::uint64_t settings = 0;
};

// Initial-exec: the handler must never be the first to touch the thread's storage.
[[gnu::tls_model("initial-exec")]] thread_local DeadlineState t_deadline;

int DeadlineSignal() {
    return SIGRTMIN + 5;
}

void OnExpiry(int) {
    const int saved = errno;
    DeadlineState& state = t_deadline;
    state.expiries.fetch_add(1, std::memory_order_relaxed);
    state.expired.store(true, std::memory_order_relaxed);
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
        action.sa_handler = OnExpiry;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        return ::sigaction(DeadlineSignal(), &action, nullptr) == 0;
    }();
    return installed;
}

// steady_clock is CLOCK_MONOTONIC, the timer's clock.
bool SetTimer(timer_t timer, ReadDeadline::Clock::time_point at) {
    const auto since = at.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    itimerspec spec{};
    spec.it_value.tv_sec = static_cast<time_t>(seconds.count());
    spec.it_value.tv_nsec = static_cast<long>((since - seconds) / std::chrono::nanoseconds(1));
    return ::timer_settime(timer, TIMER_ABSTIME, &spec, nullptr) == 0;
}

} // namespace

bool ReadDeadline::Available() {
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

ReadDeadline::ReadDeadline() {
    DeadlineState& state = t_deadline;
    if (!Available() || state.armed || !InstallHandler())
        return;
    sigset_t signal;
    sigemptyset(&signal);
    sigaddset(&signal, DeadlineSignal());
    if (::pthread_sigmask(SIG_UNBLOCK, &signal, nullptr) != 0)
        return;
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = DeadlineSignal();
    event._sigev_un._tid = static_cast<pid_t>(::syscall(SYS_gettid));
    if (::timer_create(CLOCK_MONOTONIC, &event, &state.timer) != 0)
        return;
    // Not set yet: the first read sets it.
    state.expired.store(true, std::memory_order_relaxed);
    m_armed = true;
    state.armed = true;
}

ReadDeadline::~ReadDeadline() {
    if (!m_armed)
        return;
    // A signal still on its way finds no read to end: the handler stays, and does no harm.
    ::timer_delete(t_deadline.timer);
    t_deadline.armed = false;
}

std::uint64_t ReadDeadline::Expiries() {
    return t_deadline.expiries.load(std::memory_order_relaxed);
}

std::uint64_t ReadDeadline::Settings() {
    return t_deadline.settings;
}

bool ReadDeadline::ArmedHere() {
    return t_deadline.armed;
}

bool ReadDeadline::BeginRead(int fd, const termios* released, Clock::time_point deadline) {
    DeadlineState& state = t_deadline;
    if (!state.armed)
        return false;
    const Clock::time_point now = Clock::now();
    if (deadline <= now)
        return false;
    // The timer may stay as it is when it goes off at the deadline or not long before it.
    const bool keep = !state.expired.load(std::memory_order_relaxed) && state.due > now &&
                      state.due <= deadline && deadline - state.due <= kKeepWindow;
    if (!keep) {
        state.expired.store(false, std::memory_order_relaxed);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        if (!SetTimer(state.timer, deadline)) {
            state.expired.store(true, std::memory_order_relaxed);
            return false;
        }
        state.due = deadline;
        ++state.settings;
    }
    state.released.store(released, std::memory_order_relaxed);
    state.releasedInRead.store(false, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    state.readFd.store(fd, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    // Gone off before the read was there to be ended (the thread was held up for longer than
    // the window): a read now would wait for bytes alone.
    if (state.expired.load(std::memory_order_relaxed)) {
        state.readFd.store(-1, std::memory_order_relaxed);
        return false;
    }
    return true;
}

bool ReadDeadline::EndRead() {
    DeadlineState& state = t_deadline;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    state.readFd.store(-1, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    return state.releasedInRead.exchange(false, std::memory_order_relaxed);
}

} // namespace tensiq
