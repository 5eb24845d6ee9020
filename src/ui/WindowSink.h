#pragma once
// Takes the acquisition thread's readings to the window's displays on the GUI thread. The
// thread only stores the frame, and posts a wake-up only when the GUI has gone idle; it never
// waits for the GUI. The GUI applies every chart sample in order and the newest bars, marks
// and total, at most once per screen refresh, and keeps refreshing while frames come.

#include "AcquisitionSink.h"
#include "LiveFrame.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

class QWidget;

namespace tensiq {

class CCaptionLabel;
class CLineChartCtrl;
class CRopeBarCtrl;

class WindowSink : public QObject, public AcquisitionSink {
    Q_OBJECT
public:
    struct Targets {
        std::array<CRopeBarCtrl*, kRopes> bars;
        CLineChartCtrl* chart;
        CCaptionLabel* total;
        QWidget* window; // parent of the message boxes
    };
    using Clock = std::chrono::steady_clock;

    explicit WindowSink(const Targets& targets, QObject* parent = nullptr);
    ~WindowSink() override;

    // Acquisition thread.
    void OnFrame(const FrameUpdate& update) override;
    void OnSynchronisationFailed(const std::string& message) override;
    void OnConnectionLost(const std::string& message) override;
    void OnRecordFailed(const RecordFailure& failure) override;

    // Applies what is pending now (GUI thread); with nothing pending, goes idle.
    void ApplyPending();

    // How often the displays may be repainted; the screen's refresh by default.
    void SetRefreshInterval(std::chrono::microseconds interval) { m_interval = interval; }
    std::chrono::microseconds RefreshInterval() const { return m_interval; }
    // For comparison: apply and repaint every frame on its own, as the frames come.
    void SetApplyEveryFrame(bool on) { m_everyFrame = on; }

    struct Counters {
        long framesReceived = 0;
        long chartSamplesReceived = 0;
        long chartSamplesDrawn = 0;
        long chartSamplesPending = 0; // received, waiting for the next refresh
        long applies = 0;
    };
    Counters Stats() const;

    // The tag of the newest frame applied (GUI thread).
    std::uint16_t LastAppliedTag() const { return m_lastTag; }

    // Told on the GUI thread after each apply: the newest frame applied and when it arrived.
    using AppliedHook = std::function<void(long frameNumber, Clock::time_point arrival)>;
    void SetAppliedHook(AppliedHook hook) { m_appliedHook = std::move(hook); }

signals:
    // The thread ended the run (no synchronisation, connection lost, record failed); on the
    // GUI thread, before the box is shown.
    void RunEndedByThread();

private:
    struct ChartSample {
        std::array<int, kRopes> values;
    };
    void Schedule();
    void ArmRefresh();
    void Apply(const FrameUpdate& newest, const std::vector<ChartSample>& samples, bool repaintNow);
    void ApplyMarks(const FrameUpdate& update);
    // On the GUI thread; the thread that asked does not wait for the box.
    void ShowFailure(const QString& text, const QString& caption);

    Targets m_targets;
    std::chrono::microseconds m_interval;
    std::atomic<bool> m_everyFrame{false};
    QTimer m_timer;
    std::optional<Clock::time_point> m_lastApply; // none before the first apply

    mutable std::mutex m_mutex; // guards what the thread hands over, held only to copy
    FrameUpdate m_newest;
    Clock::time_point m_newestArrival{};
    bool m_havePending = false;
    std::vector<ChartSample> m_samples;
    Counters m_counters;
    std::atomic<bool> m_posted{false}; // a wake-up or a refresh is on its way to the GUI

    AppliedHook m_appliedHook;
    std::uint16_t m_lastTag = 0;
};

} // namespace tensiq
