#include "DeferredSignals.h"

#include <initializer_list>
#include <pthread.h>

namespace tensiq::cli {

DeferredSignals::DeferredSignals() {
    sigemptyset(&m_deferred);
    for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE})
        sigaddset(&m_deferred, number);
    pthread_sigmask(SIG_BLOCK, &m_deferred, &m_previous);
}

DeferredSignals::~DeferredSignals() {
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

bool DeferredSignals::Pending() const {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) {
        struct sigaction action {};
        // An ignored signal (nohup, a background job) is dropped when let through.
        if (sigismember(&pending, number) == 1 && sigaction(number, nullptr, &action) == 0 &&
            action.sa_handler != SIG_IGN)
            return true;
    }
    return false;
}

} // namespace tensiq::cli
