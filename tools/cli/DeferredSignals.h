#pragma once
#include <csignal>

namespace tensiq::cli {

// Holds back the signals that end the tool while a transfer to the device runs: a block or an
// image cut short would leave the device waiting for the rest and its memory spliced. A signal
// that came meanwhile takes effect when the object goes, after the transfer has ended.
class DeferredSignals {
public:
    DeferredSignals();
    ~DeferredSignals();
    DeferredSignals(const DeferredSignals&) = delete;
    DeferredSignals& operator=(const DeferredSignals&) = delete;

    // A signal is waiting to take effect.
    bool Pending() const;

private:
    sigset_t m_deferred{};
    sigset_t m_previous{};
};

} // namespace tensiq::cli
