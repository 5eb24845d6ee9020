#include "AcquisitionThread.h"

#include "CurrentResourceModule.h"
#include "DeviceLink.h"
#include "LocalisedString.h"
#include "ReadDeadline.h"
#include "ResourceIds.h"

#include <ctime>
#include <pthread.h>

namespace tensiq {

namespace {

// A record line reaches the file by this age, so that with the waits' wake-ups it is there
// within 100 ms of its frame whatever the stream does.
constexpr auto kRecordLineAge = std::chrono::milliseconds(50);
// A flowing stream flushes this much before its oldest line is due: the frame wait's deadline
// for that line then never has to end a read.
constexpr auto kRecordFlushEarly = std::chrono::milliseconds(10);
constexpr auto kPortClosedPause = std::chrono::milliseconds(10);

std::string LostMessage() {
    return LoadLocalisedString(res::kStrNoConnection, CurrentResourceModule());
}

} // namespace

AcquisitionThread::AcquisitionThread(AcquisitionContext& context) : m_context(context) {}

AcquisitionThread::~AcquisitionThread() {
    if (m_thread.joinable()) {
        m_thread.request_stop();
        m_wake.notify_all();
        m_thread.join();
    }
}

void AcquisitionThread::Start() {
    if (!m_thread.joinable())
        m_thread = std::jthread([this](std::stop_token stop) { Run(stop); });
}

void AcquisitionThread::StartRun() {
    {
        std::lock_guard lock(m_wakeMutex);
        m_context.runFlag = 1;
    }
    m_wake.notify_all();
}

void AcquisitionThread::StopRun() {
    m_context.runFlag = 0;
    m_wake.notify_all();
    {
        std::lock_guard link(m_linkMutex);
        ++m_runNumber;
    }
    // The thread may be in the sink with the record still open: it is closed here, and the
    // thread, back from the sink, finds its run over (and tells the sink if the close failed).
    // A thread held by the file system closes the record itself once the call returns.
    // Tried again every millisecond rather than waited for with a timed lock, which the thread
    // sanitizer cannot follow.
    std::unique_lock record(m_recordMutex, std::try_to_lock);
    for (const auto until = std::chrono::steady_clock::now() + kStopWait;
         !record.owns_lock() && std::chrono::steady_clock::now() < until;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        record.try_lock();
    }
    if (record.owns_lock() && m_record.IsOpen() && !m_record.Close())
        m_stopRecordFailure = m_record.Failure();
}

std::chrono::nanoseconds AcquisitionThread::CpuTime() const {
    clockid_t clock;
    timespec ts{};
    if (!m_thread.joinable() ||
        pthread_getcpuclockid(const_cast<std::jthread&>(m_thread).native_handle(), &clock) != 0 ||
        clock_gettime(clock, &ts) != 0)
        return {};
    return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
}

bool AcquisitionThread::Running(const std::stop_token& stop) const {
    return m_context.runFlag != 0 && !stop.stop_requested();
}

bool AcquisitionThread::Current(const std::stop_token& stop) const {
    return Running(stop) && m_myRun == m_runNumber;
}

void AcquisitionThread::Step(AcquisitionStep step) const {
    if (m_stepHook)
        m_stepHook(step);
}

std::string AcquisitionThread::TotalCaption() const {
    return LoadLocalisedString(res::kStrTotal, CurrentResourceModule());
}

void AcquisitionThread::WaitForRun(const std::stop_token& stop) {
    std::unique_lock lock(m_wakeMutex);
    while (m_context.runFlag == 0 && !stop.stop_requested())
        m_wake.wait_for(lock, stop, kIdlePause, [this] { return m_context.runFlag != 0; });
}

void AcquisitionThread::Run(std::stop_token stop) {
    std::unique_lock link(m_linkMutex);
    DeviceLink& device = *m_context.link;
    while (!stop.stop_requested()) {
        // The restart point.
        if (!Current(stop)) {
            const std::optional<RecordFailure> failure = CloseRecordUnlinked(link);
            if (failure && m_context.sink != nullptr)
                m_context.sink->OnRecordFailed(*failure);
            Step(AcquisitionStep::Idle);
            WaitForRun(stop);
            link.lock();
            m_myRun = m_runNumber;
            continue;
        }
        Step(AcquisitionStep::RunChecked);
        if (!PrepareRecord(stop, link)) {
            // Without its record the run would leave the previous run's file to be saved.
            Fail(Failure::Record, {}, link);
            continue;
        }
        if (!Current(stop))
            continue;
        if (!device.IsOpen()) {
            // The GUI opens the port before it sets the flag; never spin while it does.
            link.unlock();
            std::this_thread::sleep_for(kPortClosedPause);
            link.lock();
            continue;
        }
        // The language never changes while the program runs; one lookup a stream start.
        m_totalCaption = TotalCaption();
        Step(AcquisitionStep::StreamStart);
        device.StartStreaming();
        if (Synchronise(stop, link) != Flow::On)
            continue;
        // Each wait is then a read that a timer ends at its deadline: a frame costs one read.
        std::optional<ReadDeadline> deadline;
        if (device.Port().CanWaitByReading())
            deadline.emplace();
        while (WaitForFrame(stop, link) == Flow::On) {
            LiveFrame frame;
            if (device.Read(frame.bytes.data(), LiveFrame::kSize) != LiveFrame::kSize) {
                if (device.HungUp())
                    Fail(Failure::ConnectionLost, LostMessage(), link);
                break;
            }
            if (!frame.IsValid() || Process(frame, stop, link) != Flow::On)
                break;
        }
    }
    if (!link.owns_lock())
        link.lock();
    const std::optional<RecordFailure> failure = CloseRecordUnlinked(link);
    if (failure && m_context.sink != nullptr)
        m_context.sink->OnRecordFailed(*failure);
}

bool AcquisitionThread::CloseRecord() {
    m_unflushedSince.reset();
    return !m_record.IsOpen() || m_record.Close();
}

std::optional<RecordFailure>
AcquisitionThread::CloseRecordUnlinked(std::unique_lock<std::mutex>& link) {
    link.unlock();
    std::lock_guard record(m_recordMutex);
    std::optional<RecordFailure> failure =
        CloseRecord() ? std::move(m_stopRecordFailure) : m_record.Failure();
    m_stopRecordFailure.reset();
    return failure;
}

bool AcquisitionThread::PrepareRecord(const std::stop_token& stop,
                                      std::unique_lock<std::mutex>& link) {
    link.unlock();
    bool kept = true;
    {
        std::lock_guard record(m_recordMutex);
        // StopRun may have come while the lock was let go; its record stays closed.
        if (Current(stop)) {
            // The stream start pauses for 300 ms: what was recorded goes to the disk first.
            kept = m_record.IsOpen()
                       ? FlushRecord()
                       : m_context.recordPath.empty() || m_record.Open(m_context.recordPath);
        }
    }
    link.lock();
    return kept;
}

bool AcquisitionThread::FlushRecord() {
    m_unflushedSince.reset();
    return m_record.Flush();
}

bool AcquisitionThread::FlushRecordUnlinked(std::unique_lock<std::mutex>& link) {
    link.unlock();
    bool kept = true;
    {
        std::lock_guard record(m_recordMutex);
        // A record StopRun closed is flushed already.
        kept = !m_record.IsOpen() ? (m_unflushedSince.reset(), true) : FlushRecord();
    }
    link.lock();
    return kept;
}

bool AcquisitionThread::WriteRecordLine(const std::array<int, kRopes>& loads) {
    std::lock_guard record(m_recordMutex);
    if (!m_record.IsOpen())
        return true; // a run without a record, or one StopRun has closed
    const bool kept = m_record.WriteLoads(loads);
    if (kept && !m_unflushedSince)
        m_unflushedSince = std::chrono::steady_clock::now();
    return kept;
}

void AcquisitionThread::Fail(Failure failure, const std::string& message,
                             std::unique_lock<std::mutex>& link) {
    m_context.runFlag = 0;
    link.unlock();
    // A record that failed has closed itself and is told of as the failure.
    bool recordKept = true;
    std::optional<RecordFailure> recordFailure;
    {
        std::lock_guard record(m_recordMutex);
        if (failure != Failure::Record)
            recordKept = CloseRecord();
        recordFailure = m_record.Failure();
    }
    if (AcquisitionSink* sink = m_context.sink) {
        switch (failure) {
        case Failure::Synchronisation:
            sink->OnSynchronisationFailed(message);
            break;
        case Failure::ConnectionLost:
            sink->OnConnectionLost(message);
            break;
        case Failure::Record:
            if (recordFailure)
                sink->OnRecordFailed(*recordFailure);
            break;
        }
        if (!recordKept && recordFailure)
            sink->OnRecordFailed(*recordFailure);
    }
    link.lock();
}

AcquisitionThread::Flow AcquisitionThread::Synchronise(const std::stop_token& stop,
                                                       std::unique_lock<std::mutex>& link) {
    DeviceLink& device = *m_context.link;
    for (int attempts = 0; Current(stop);) {
        std::uint8_t byte = 0;
        const int got = device.Read(&byte, 1);
        if (got == 1 && byte == LiveFrame::kTerminator)
            return Flow::On;
        if (got == 0 && device.HungUp()) {
            Fail(Failure::ConnectionLost, LostMessage(), link);
            return Flow::Over;
        }
        if (++attempts > kSyncAttempts) {
            Fail(Failure::Synchronisation,
                 LoadLocalisedString(res::kStrNoSync, CurrentResourceModule()), link);
            return Flow::Over;
        }
    }
    return Flow::Over;
}

// Ten pauses of 50 ms, each ending as soon as a whole frame is in: the driver wakes the thread
// only then, however the line hands the bytes on, and one read takes that frame with every one
// behind it. When the pauses are used up the read finds the frame short.
AcquisitionThread::Flow AcquisitionThread::WaitForFrame(const std::stop_token& stop,
                                                        std::unique_lock<std::mutex>& link) {
    DeviceLink& device = *m_context.link;
    constexpr int kFrameBytes = static_cast<int>(LiveFrame::kSize);
    for (int pauses = 0;;) {
        if (!Running(stop))
            return Flow::Over;
        if (device.Buffered() >= kFrameBytes)
            return Flow::On;
        if (device.HungUp()) {
            // A dead line answers every wait at once: spinning on it would burn a core.
            Fail(Failure::ConnectionLost, LostMessage(), link);
            return Flow::Over;
        }
        if (pauses == kFramePauses)
            return Flow::On;
        if (m_unflushedSince) {
            const auto now = std::chrono::steady_clock::now();
            const auto due = *m_unflushedSince + kRecordLineAge;
            if (due - now <= kRecordFlushEarly) {
                if (!FlushRecordUnlinked(link)) {
                    Fail(Failure::Record, {}, link);
                    return Flow::Over;
                }
                // The link was let go for the flush: the port may be the GUI's again.
                if (!Current(stop))
                    return Flow::Over;
            } else if (due < now + kFramePause) {
                // A line due in the file before a pause would end is waited for apart: no pause.
                device.WaitForBytesUntil(kFrameBytes, due);
                continue;
            }
        }
        device.PauseForBytes(kFrameBytes, static_cast<int>(kFramePause.count()));
        ++pauses;
    }
}

AcquisitionThread::Flow AcquisitionThread::Process(const LiveFrame& frame,
                                                   const std::stop_token& stop,
                                                   std::unique_lock<std::mutex>& link) {
    // The copy is taken again only when the GUI has changed a setting since.
    if (const std::uint64_t version = m_context.Version(); version != m_settingsVersion) {
        m_settings = m_context.Snapshot();
        m_settingsVersion = version;
    }
    const DisplaySettings& settings = m_settings;
    AcquisitionSink* const sink = m_context.sink;
    // The command line never shows the total's text: it is not built for it.
    FrameUpdate update = sink != nullptr && sink->ShowsTotalText()
                             ? ComputeReadings(frame, settings, m_totalCaption)
                             : ComputeReadings(frame, settings);
    update.frameNumber = ++m_frameCount;
    update.chartSampleDue = update.frameNumber % 10 == 0;
    // The line is in the record before the sink hears of the frame; neither holds the link.
    link.unlock();
    const bool kept = WriteRecordLine(update.loads);
    if (kept && sink != nullptr)
        sink->OnFrame(update);
    link.lock();
    if (!kept) {
        Fail(Failure::Record, {}, link);
        return Flow::Over;
    }
    return Current(stop) ? Flow::On : Flow::Over;
}

} // namespace tensiq
