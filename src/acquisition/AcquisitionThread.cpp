#include "AcquisitionThread.h"

#include "CurrentResourceModule.h"
#include "DeviceLink.h"
#include "LocalisedString.h"
#include "ResourceIds.h"

#include <ctime>
#include <pthread.h>

namespace tensiq {

namespace {

// One byte on a 230400-baud line, ten bits with start and stop.
constexpr auto kByteTime = std::chrono::microseconds(44);
// Wakes to look at the run flag while the line is quiet.
constexpr int kQuietPollMs = 50;
// A record line reaches the file by this age, so that with the waits' wake-ups it is there
// within 100 ms of its frame whatever the stream does.
constexpr auto kRecordLineAge = std::chrono::milliseconds(50);
constexpr auto kPortClosedPause = std::chrono::milliseconds(10);
constexpr auto kArrivalMargin = std::chrono::microseconds(200);

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
    std::lock_guard link(m_linkMutex);
    // The thread may be in the sink with the record still open: it is closed here, and the
    // thread, back from the sink, finds its run over (and tells the sink if the close failed).
    if (!CloseRecord())
        m_stopRecordFailure = m_record.Error();
    ++m_runNumber;
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
            std::string failure = CloseRecord() ? std::move(m_stopRecordFailure) : m_record.Error();
            m_stopRecordFailure.clear();
            link.unlock();
            if (!failure.empty() && m_context.sink != nullptr)
                m_context.sink->OnRecordFailed(failure);
            Step(AcquisitionStep::Idle);
            WaitForRun(stop);
            link.lock();
            m_myRun = m_runNumber;
            continue;
        }
        Step(AcquisitionStep::RunChecked);
        // The stream start pauses for 300 ms: what was recorded goes to the disk first.
        const bool recordKept =
            m_record.IsOpen() ? FlushRecord()
                              : m_context.recordPath.empty() || m_record.Open(m_context.recordPath);
        if (!recordKept) {
            // Without its record the run would leave the previous run's file to be saved.
            Fail(Failure::Record, m_record.Error(), link);
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
    const bool kept = CloseRecord();
    link.unlock();
    if (!kept && m_context.sink != nullptr)
        m_context.sink->OnRecordFailed(m_record.Error());
}

bool AcquisitionThread::CloseRecord() {
    m_unflushedSince.reset();
    return !m_record.IsOpen() || m_record.Close();
}

bool AcquisitionThread::FlushRecord() {
    m_unflushedSince.reset();
    return m_record.Flush();
}

bool AcquisitionThread::KeepRecordFresh() {
    if (m_unflushedSince && std::chrono::steady_clock::now() - *m_unflushedSince >= kRecordLineAge)
        return FlushRecord();
    return true;
}

void AcquisitionThread::Fail(Failure failure, const std::string& message,
                             std::unique_lock<std::mutex>& link) {
    m_context.runFlag = 0;
    // A record that failed has closed itself and is told of as the failure.
    const bool recordKept = failure == Failure::Record || CloseRecord();
    link.unlock();
    if (AcquisitionSink* sink = m_context.sink) {
        switch (failure) {
        case Failure::Synchronisation:
            sink->OnSynchronisationFailed(message);
            break;
        case Failure::ConnectionLost:
            sink->OnConnectionLost(message);
            break;
        case Failure::Record:
            sink->OnRecordFailed(message);
            break;
        }
        if (!recordKept)
            sink->OnRecordFailed(m_record.Error());
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

// Waits on the port, not in fixed pauses, so a frame is taken soon after its last byte is in.
// Input already queued makes poll return at once, so a partial frame is slept on for the line
// time of its missing bytes; right after a frame, when the stream runs at full rate, one such
// sleep usually finds the next whole frame with a single wake-up.
AcquisitionThread::Flow AcquisitionThread::WaitForFrame(const std::stop_token& stop,
                                                        std::unique_lock<std::mutex>& link) {
    DeviceLink& device = *m_context.link;
    const auto deadline = std::chrono::steady_clock::now() + kFrameWait;
    constexpr int kFrameBytes = static_cast<int>(LiveFrame::kSize);
    for (bool first = true;; first = false) {
        // Right after a frame, what the driver had is in the port's buffer and the rest of the
        // next frame is still on the line: no need to ask the driver before sleeping on it.
        const int queued =
            first && device.Buffered() < kFrameBytes ? device.Buffered() : device.BytesWaiting();
        if (!Running(stop))
            return Flow::Over;
        if (device.HungUp()) {
            // A dead line answers every wait at once: spinning on it would burn a core.
            Fail(Failure::ConnectionLost, LostMessage(), link);
            return Flow::Over;
        }
        if (queued >= kFrameBytes)
            return Flow::On;
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return Flow::On; // the read finds the frame short and restarts the stream
        if (!KeepRecordFresh()) {
            Fail(Failure::Record, m_record.Error(), link);
            return Flow::Over;
        }
        if (queued > 0 || first) {
            const auto missing = kByteTime * (kFrameBytes - queued) + kArrivalMargin;
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(missing, left));
        } else {
            auto wait = std::min<std::chrono::steady_clock::duration>(
                left, std::chrono::milliseconds(kQuietPollMs));
            if (m_unflushedSince)
                wait = std::min<std::chrono::steady_clock::duration>(
                    wait, *m_unflushedSince + kRecordLineAge - std::chrono::steady_clock::now());
            const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
            device.WaitForInput(static_cast<int>(std::max<long long>(ms, 0)));
        }
    }
}

AcquisitionThread::Flow AcquisitionThread::Process(const LiveFrame& frame,
                                                   const std::stop_token& stop,
                                                   std::unique_lock<std::mutex>& link) {
    const DisplaySettings settings = m_context.Snapshot();
    FrameUpdate update = ComputeReadings(frame, settings, m_totalCaption);
    update.frameNumber = ++m_frameCount;
    update.chartSampleDue = update.frameNumber % 10 == 0;
    if (m_record.IsOpen()) {
        if (!m_record.WriteLoads(update.loads)) {
            Fail(Failure::Record, m_record.Error(), link);
            return Flow::Over;
        }
        if (!m_unflushedSince)
            m_unflushedSince = std::chrono::steady_clock::now();
    }
    if (AcquisitionSink* sink = m_context.sink) {
        link.unlock();
        sink->OnFrame(update);
        link.lock();
    }
    return Current(stop) ? Flow::On : Flow::Over;
}

} // namespace tensiq
