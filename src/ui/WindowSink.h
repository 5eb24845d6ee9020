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
#include <cstddef>
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
    void OnRecordFailed(const std::string& message) override;

    // Applies what is pending now (GUI thread); with nothing pending, goes idle.
    void ApplyPending();

    // How often the displays may be repainted; the screen's refresh by default.
    void SetRefreshInterval(std::chrono::microseconds interval) { m_interval = interval; }
    std::chrono::microseconds RefreshInterval() const { return m_interval; }

signals:
    // The thread ended the run (no synchronisation, connection lost, record failed); on the
    // GUI thread, before the box is shown.
    void RunEndedByThread();

protected:
    struct ChartSample {
        std::array<int, kRopes> values;
    };
    // Seams for the tests' and benchmarks' probes, which count and time what the sink does.
    // Received: on the acquisition thread, for each frame as it comes.
    virtual void Received(const FrameUpdate&) {}
    // Applied: on the GUI thread after each apply; the newest frame, the chart samples drawn and
    // when that frame arrived.
    virtual void Applied(const FrameUpdate&, std::size_t /*chartSamples*/, Clock::time_point) {}
    // Chart samples received and waiting for the next refresh.
    std::size_t PendingChartSamples() const;
    void Apply(const FrameUpdate& newest, const std::vector<ChartSample>& samples, bool repaintNow);

private:
    void Schedule();
    void ArmRefresh();
    void ApplyMarks(const FrameUpdate& update);
    // On the GUI thread; the thread that asked does not wait for the box.
    void ShowFailure(const QString& text, const QString& caption);

    Targets m_targets;
    std::chrono::microseconds m_interval;
    QTimer m_timer;
    std::optional<Clock::time_point> m_lastApply; // none before the first apply

    mutable std::mutex m_mutex; // guards what the thread hands over, held only to copy
    FrameUpdate m_newest;
    Clock::time_point m_newestArrival{};
    bool m_havePending = false;
    std::vector<ChartSample> m_samples;
    std::atomic<bool> m_posted{false}; // a wake-up or a refresh is on its way to the GUI
};

} // namespace tensiq
