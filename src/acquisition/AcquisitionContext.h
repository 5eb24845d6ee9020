#pragma once
#include "LiveReading.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace tensiq {

class AcquisitionSink;
class DeviceLink;

// What the window hands the acquisition thread: the link, where the results go, where the
// record goes, the run switch, and the display settings that the GUI may change at any time.
class AcquisitionContext {
public:
    DeviceLink* link = nullptr;
    AcquisitionSink* sink = nullptr;
    std::string recordPath; // "-": standard output; empty: no record

    // Set by the GUI when a run starts; cleared by the GUI at the end, or by the thread when
    // the stream cannot be synchronised.
    std::atomic<int> runFlag{0};
    // Used by the rope-tension assistant only.
    std::atomic<int> assistantActive{0};

    void SetUnit(double unitFactor, const std::string& unitText);
    void SetFactor(std::int8_t factor);
    // The three values as one consistent copy.
    DisplaySettings Snapshot() const;
    // Changes with every SetUnit and SetFactor: a copy taken at an older version is stale.
    std::uint64_t Version() const { return m_version.load(std::memory_order_acquire); }

private:
    mutable std::mutex m_mutex;
    DisplaySettings m_settings;
    std::atomic<std::uint64_t> m_version{0};
};

} // namespace tensiq
