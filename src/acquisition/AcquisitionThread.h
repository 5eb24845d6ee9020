#pragma once
#include "AcquisitionContext.h"
#include "AcquisitionSink.h"
#include "RecordFile.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace tensiq {

// Points of the loop at which a test may step in (SetStepHook).
enum class AcquisitionStep {
    RunChecked,  // the restart point found the run on; the record is about to be (re)used
    StreamStart, // about to send the stream start
    Idle,        // the link and the record are let go; about to wait for the run flag
};

// The one background thread that turns the device's live stream into readings and the record.
// It idles until the run flag is set, and owns the link while a run is on: the GUI touches the
// port again only after StopRun has returned. The sink is never called with the link held.
class AcquisitionThread {
public:
    explicit AcquisitionThread(AcquisitionContext& context);
    ~AcquisitionThread(); // stops and joins
    AcquisitionThread(const AcquisitionThread&) = delete;
    AcquisitionThread& operator=(const AcquisitionThread&) = delete;

    void Start();
    // Sets the run flag and wakes the idle thread.
    void StartRun();
    // Clears the run flag and returns once the thread is out of the link and the record is
    // closed, so the caller may send X and close the port, and a later run gets a new record.
    // Never waits for the sink, nor longer than kStopWait for a file system that does not
    // answer: the thread then closes the record when the call returns.
    void StopRun();

    // Called on the acquisition thread at each step; set before Start. For tests.
    void SetStepHook(std::function<void(AcquisitionStep)> hook) { m_stepHook = std::move(hook); }

    // CPU time the thread has used, for benchmarks.
    std::chrono::nanoseconds CpuTime() const;
    long FrameCount() const { return m_frameCount.load(); }

    static constexpr int kSyncAttempts = 40;
    static constexpr auto kIdlePause = std::chrono::milliseconds(100);
    // The longest wait for a frame: ten pauses of 50 ms.
    static constexpr int kFramePauses = 10;
    static constexpr auto kFramePause = std::chrono::milliseconds(50);
    static constexpr auto kStopWait = std::chrono::milliseconds(800);

private:
    enum class Failure { Synchronisation, ConnectionLost, Record };
    // How a step left the run: on, restart the stream, or over (flag cleared or run ended).
    enum class Flow { On, Restart, Over };

    void Run(std::stop_token stop);
    bool Running(const std::stop_token& stop) const;
    // Still the run that was started, with the link in hand.
    bool Current(const std::stop_token& stop) const;
    void WaitForRun(const std::stop_token& stop);
    Flow Synchronise(const std::stop_token& stop, std::unique_lock<std::mutex>& link);
    Flow WaitForFrame(const std::stop_token& stop, std::unique_lock<std::mutex>& link);
    Flow Process(const LiveFrame& frame, const std::stop_token& stop,
                 std::unique_lock<std::mutex>& link);
    // Ends the run, closes the record, and tells the sink with the link let go; a record that
    // could not be closed is told of too. A record failure takes its facts from the record.
    void Fail(Failure failure, const std::string& message, std::unique_lock<std::mutex>& link);
    // True when the record was not open or kept all its lines. The record's own lock is held.
    bool CloseRecord();
    // Opens the record at a run's start or flushes it at a stream restart, with the link let
    // go; false when the record failed (true too when the run is over).
    bool PrepareRecord(const std::stop_token& stop, std::unique_lock<std::mutex>& link);
    // Closes the record with the link let go; the failure to tell of, if any.
    std::optional<RecordFailure> CloseRecordUnlinked(std::unique_lock<std::mutex>& link);
    void Step(AcquisitionStep step) const;
    bool FlushRecord();
    // Flushes with the link let go; false when the record failed.
    bool FlushRecordUnlinked(std::unique_lock<std::mutex>& link);
    // The frame's line, written with the link let go; false when the record failed.
    bool WriteRecordLine(const std::array<int, kRopes>& loads);
    std::string TotalCaption() const;

    AcquisitionContext& m_context;
    // The link mutex guards the port while a run is on and is never held across a file system
    // call: a record on a fifo or a hung network folder must not hold StopRun.
    std::mutex m_linkMutex;
    // Guards the record and m_stopRecordFailure; StopRun waits for it no longer than kStopWait.
    std::mutex m_recordMutex;
    RecordFile m_record;
    // When the oldest line not yet flushed was written; empty when all are in the file.
    // The thread's own.
    std::optional<std::chrono::steady_clock::time_point> m_unflushedSince;
    // Why the record failed when StopRun closed it; the thread tells the sink.
    std::optional<RecordFailure> m_stopRecordFailure;
    // Counts the runs StopRun has ended, written with the link held; a thread that comes back
    // from the sink or the file system to a new number knows that its run was ended meanwhile.
    std::atomic<long> m_runNumber{0};
    long m_myRun = 0;
    std::atomic<long> m_frameCount{0};
    std::string m_totalCaption;
    // The display settings as last copied, and the context's version they were copied at.
    DisplaySettings m_settings;
    std::uint64_t m_settingsVersion = ~std::uint64_t{0};
    std::function<void(AcquisitionStep)> m_stepHook;
    std::mutex m_wakeMutex;
    std::condition_variable_any m_wake;
    std::jthread m_thread;
};

} // namespace tensiq
