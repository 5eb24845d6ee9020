#include "AcquisitionThread.h"

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
constexpr auto kPortClosedPause = std::chrono::milliseconds(10);
constexpr auto kArrivalMargin = std::chrono::microseconds(200);

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
    std::lock_guard wait(m_linkBusy);
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

std::string AcquisitionThread::TotalCaption() const {
    return LoadLocalisedString(res::kStrTotal, CurrentResourceModule());
}

void AcquisitionThread::Run(std::stop_token stop) {
    std::unique_lock link(m_linkBusy, std::defer_lock);
    DeviceLink& device = *m_context.link;
    while (!stop.stop_requested()) {
        // The restart point.
        if (m_record.IsOpen() && m_context.runFlag == 0 && !m_record.Close())
            RecordFailed();
        if (link.owns_lock())
            link.unlock();
        {
            std::unique_lock lock(m_wakeMutex);
            while (m_context.runFlag == 0 && !stop.stop_requested())
                m_wake.wait_for(lock, stop, kIdlePause, [this] { return m_context.runFlag != 0; });
        }
        if (stop.stop_requested())
            break;
        link.lock();
        if (!m_record.IsOpen() && !m_context.recordPath.empty() &&
            !m_record.Open(m_context.recordPath)) {
            RecordFailed();
            continue;
        }
        if (!Running(stop))
            continue;
        if (!device.IsOpen()) {
            // The GUI opens the port before it sets the flag; never spin while it does.
            link.unlock();
            std::this_thread::sleep_for(kPortClosedPause);
            continue;
        }
        // The language never changes while the program runs; one lookup a stream start.
        m_totalCaption = TotalCaption();
        device.StartStreaming();
        if (!Synchronise(stop))
            continue;
        while (Running(stop)) {
            WaitForFrame(stop);
            LiveFrame frame;
            if (device.Read(frame.bytes.data(), LiveFrame::kSize) != LiveFrame::kSize)
                break;
            if (!frame.IsValid())
                break;
            Process(frame);
        }
    }
    if (link.owns_lock())
        link.unlock();
    if (m_record.IsOpen() && !m_record.Close())
        RecordFailed();
}

// A run whose record cannot be kept ends: the user would otherwise trust a record with gaps.
void AcquisitionThread::RecordFailed() {
    m_context.runFlag = 0;
    if (m_context.sink != nullptr)
        m_context.sink->OnRecordFailed(m_record.Error());
}

bool AcquisitionThread::Synchronise(const std::stop_token& stop) {
    DeviceLink& device = *m_context.link;
    for (int attempts = 0; Running(stop);) {
        std::uint8_t byte = 0;
        if (device.Read(&byte, 1) == 1 && byte == LiveFrame::kTerminator)
            return true;
        if (++attempts > kSyncAttempts) {
            m_context.runFlag = 0;
            if (m_context.sink != nullptr)
                m_context.sink->OnSynchronisationFailed(
                    LoadLocalisedString(res::kStrNoSync, CurrentResourceModule()));
            return false;
        }
    }
    return false;
}

// Waits on the port, not in fixed pauses, so a frame is taken soon after its last byte is in.
// Input already queued makes poll return at once, so a partial frame is slept on for the line
// time of its missing bytes; right after a frame, when the stream runs at full rate, one such
// sleep usually finds the next whole frame with a single wake-up.
void AcquisitionThread::WaitForFrame(const std::stop_token& stop) {
    DeviceLink& device = *m_context.link;
    const auto deadline = std::chrono::steady_clock::now() + kFrameWait;
    constexpr int kFrameBytes = static_cast<int>(LiveFrame::kSize);
    for (bool first = true;; first = false) {
        const int queued = device.BytesWaiting();
        if (queued >= kFrameBytes || !Running(stop))
            return;
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return;
        if (!m_record.FlushIfDue()) {
            RecordFailed();
            return;
        }
        if (queued > 0 || first) {
            const auto missing = kByteTime * (kFrameBytes - queued) + kArrivalMargin;
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(missing, left));
        } else {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(left).count();
            device.WaitForInput(static_cast<int>(std::min<long long>(ms + 1, kQuietPollMs)));
        }
    }
}

void AcquisitionThread::Process(const LiveFrame& frame) {
    const DisplaySettings settings = m_context.Snapshot();
    FrameUpdate update = ComputeReadings(frame, settings, m_totalCaption);
    update.frameNumber = ++m_frameCount;
    update.chartSampleDue = update.frameNumber % 10 == 0;
    for (int k = 0; k < kRopes; ++k) {
        if (update.marked[k] != m_greyShown[k]) {
            update.markChanges[k] = update.marked[k] ? MarkChange::ToGrey : MarkChange::ToWhite;
            m_greyShown[k] = update.marked[k];
        }
    }
    if (m_record.IsOpen() && !m_record.WriteLoads(update.loads)) {
        RecordFailed();
        return;
    }
    if (m_context.sink != nullptr)
        m_context.sink->OnFrame(update);
}

} // namespace tensiq
