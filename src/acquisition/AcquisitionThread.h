#pragma once
#include "AcquisitionContext.h"
#include "AcquisitionSink.h"
#include "RecordFile.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tensiq {

// The one background thread that turns the device's live stream into readings and the record.
// It idles until the run flag is set, and owns the link while a run is on: the GUI touches the
// port again only after StopRun has returned.
class AcquisitionThread {
public:
    explicit AcquisitionThread(AcquisitionContext& context);
    ~AcquisitionThread(); // stops and joins
    AcquisitionThread(const AcquisitionThread&) = delete;
    AcquisitionThread& operator=(const AcquisitionThread&) = delete;

    void Start();
    // Sets the run flag and wakes the idle thread.
    void StartRun();
    // Clears the run flag and returns once the thread has left the link and closed the record,
    // so the caller may send X and close the port.
    void StopRun();

    // CPU time the thread has used, for benchmarks.
    std::chrono::nanoseconds CpuTime() const;
    long FrameCount() const { return m_frameCount.load(); }

    static constexpr int kSyncAttempts = 40;
    static constexpr auto kIdlePause = std::chrono::milliseconds(100);
    // The longest wait for a frame: ten pauses of 50 ms.
    static constexpr auto kFrameWait = std::chrono::milliseconds(500);

private:
    void Run(std::stop_token stop);
    bool Running(const std::stop_token& stop) const;
    bool Synchronise(const std::stop_token& stop);
    void WaitForFrame(const std::stop_token& stop);
    void Process(const LiveFrame& frame);
    std::string TotalCaption() const;
    void RecordFailed();

    AcquisitionContext& m_context;
    RecordFile m_record;
    std::atomic<long> m_frameCount{0};
    std::array<bool, kRopes> m_greyShown{};
    std::string m_totalCaption;
    // Held by the thread whenever it may be inside the link.
    std::mutex m_linkBusy;
    std::mutex m_wakeMutex;
    std::condition_variable_any m_wake;
    std::jthread m_thread;
};

} // namespace tensiq
