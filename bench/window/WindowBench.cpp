// The real window, offscreen, with its acquisition thread reading a simulated device paced at
// the line limit (576 frames a second). Measured twice in one run: as the window works, with
// every chart sample applied and one repaint a screen refresh, and beside it with every frame
// applied and repainted on its own.
// Usage: tensiq-window-bench [seconds per mode, default 20]

#include "DeviceLink.h"
#include "LanguageChoice.h"
#include "RopeLoadDlg.h"
#include "WindowSink.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

using namespace tensiq;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPort = 1;
constexpr long kRing = 1 << 16;

double CpuSeconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Between the thread and the window's sink: notes when each frame arrived.
class ArrivalLog : public AcquisitionSink {
public:
    explicit ArrivalLog(AcquisitionSink& next) : m_next(next) {}
    void OnFrame(const FrameUpdate& update) override {
        m_arrival[update.frameNumber % kRing] = Clock::now().time_since_epoch().count();
        m_next.OnFrame(update);
    }
    void OnSynchronisationFailed(const std::string& m) override {
        m_next.OnSynchronisationFailed(m);
    }
    void OnConnectionLost(const std::string& m) override { m_next.OnConnectionLost(m); }
    void OnRecordFailed(const std::string& m) override { m_next.OnRecordFailed(m); }
    Clock::rep Arrival(long frame) const { return m_arrival[frame % kRing]; }

private:
    AcquisitionSink& m_next;
    std::vector<std::atomic<Clock::rep>> m_arrival = std::vector<std::atomic<Clock::rep>>(kRing);
};

// Counts the paints of a widget; the bar's paints also time every frame they first show.
class PaintMeter : public QObject {
public:
    PaintMeter(const ArrivalLog* log, long* applied) : m_log(log), m_applied(applied) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        ++paints;
        if (m_log != nullptr && m_measuring) {
            const auto now = Clock::now().time_since_epoch().count();
            for (long f = std::max(m_shown + 1, *m_applied - kRing / 2); f <= *m_applied; ++f)
                latenciesMs.push_back(static_cast<double>(now - m_log->Arrival(f)) / 1e6);
        }
        m_shown = *m_applied;
        return false;
    }
    void Measure(bool on) {
        m_measuring = on;
        m_shown = *m_applied;
    }
    long paints = 0;
    std::vector<double> latenciesMs;

private:
    const ArrivalLog* m_log;
    long* m_applied;
    long m_shown = 0;
    bool m_measuring = false;
};

struct Figures {
    long frames = 0;
    long samplesDue = 0;
    long samplesDrawn = 0;
    double barRepaintsPerS = 0;
    double chartRepaintsPerS = 0;
    double labelRepaintsPerS = 0;
    double guiCpu = 0;
    double processCpu = 0;
    double p50 = 0, p99 = 0, max = 0;
};

double Percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

void Pump(double seconds) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < seconds * 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

Figures Measure(CRopeLoadDlg& dlg, bool everyFrame, double seconds, PaintMeter& bar,
                PaintMeter& chart, PaintMeter& label) {
    dlg.Sink()->SetApplyEveryFrame(everyFrame);
    Pump(1.0); // the mode settles
    const WindowSink::Counters s0 = dlg.Sink()->Stats();
    const long frames0 = dlg.Acquisition()->FrameCount();
    const long bar0 = bar.paints, chart0 = chart.paints, label0 = label.paints;
    bar.latenciesMs.clear();
    bar.Measure(true);
    const double gui0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double proc0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    Pump(seconds);
    const double gui1 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double proc1 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    bar.Measure(false);
    const long frames1 = dlg.Acquisition()->FrameCount();
    Pump(0.2); // what was due is drawn
    const WindowSink::Counters s1 = dlg.Sink()->Stats();

    Figures f;
    f.frames = frames1 - frames0;
    f.samplesDue = s1.chartSamplesReceived - s0.chartSamplesReceived;
    f.samplesDrawn = s1.chartSamplesDrawn - s0.chartSamplesDrawn;
    f.barRepaintsPerS = static_cast<double>(bar.paints - bar0) / seconds;
    f.chartRepaintsPerS = static_cast<double>(chart.paints - chart0) / seconds;
    f.labelRepaintsPerS = static_cast<double>(label.paints - label0) / seconds;
    f.guiCpu = 100.0 * (gui1 - gui0) / seconds;
    f.processCpu = 100.0 * (proc1 - proc0) / seconds;
    f.p50 = Percentile(bar.latenciesMs, 0.50);
    f.p99 = Percentile(bar.latenciesMs, 0.99);
    f.max = Percentile(bar.latenciesMs, 1.0);
    return f;
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string dir = (std::filesystem::temp_directory_path() /
                             ("tensiq-window-bench-" + std::to_string(getpid())))
                                .string();
    ::setenv("TENSIQ_PORT_DIR", (dir + "/ports").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);

    // The device in a process of its own, so the process figures are the program's alone.
    const std::string ports = dir + "/ports";
    std::vector<std::string> args = {
        TENSIQ_SIM, "--dir", ports, "--device", std::to_string(kPort), "--rate", "576", "--paced"};
    std::vector<char*> argvSim;
    for (auto& a : args)
        argvSim.push_back(a.data());
    argvSim.push_back(nullptr);
    std::filesystem::create_directories(dir);
    pid_t sim = 0;
    if (posix_spawn(&sim, TENSIQ_SIM, nullptr, nullptr, argvSim.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start the simulator\n");
        return 1;
    }
    for (int i = 0; i < 100 && !std::filesystem::exists(ports + "/COM1"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    int status = 0;
    {
        QApplication app(argc, argv);
        ChooseLanguage(std::string());
        CRopeLoadDlg dlg;
        dlg.Create();
        dlg.show();
        long applied = 0;
        ArrivalLog log(*dlg.Sink());
        dlg.Sink()->SetAppliedHook([&applied](long frame, Clock::time_point) { applied = frame; });
        PaintMeter bar(&log, &applied), chart(nullptr, &applied), label(nullptr, &applied);
        dlg.m_bars[0].installEventFilter(&bar);
        dlg.m_chart.installEventFilter(&chart);
        dlg.m_totalLabel.installEventFilter(&label);
        dlg.m_context.sink = &log;

        ParameterBlock block;
        if (!dlg.m_link.Open(kPort) || !dlg.m_link.ReadParameters(block)) {
            std::fprintf(stderr, "no device on the simulated port\n");
            status = 1;
        } else {
            dlg.SetStoredBlock(block);
            dlg.Acquisition()->StartRun();
            std::printf("window bench: %.0f s per mode, simulator paced at 576 frames/s, "
                        "refresh %.1f ms\n",
                        seconds,
                        static_cast<double>(dlg.Sink()->RefreshInterval().count()) / 1000.0);
            const Figures a = Measure(dlg, false, seconds, bar, chart, label);
            // The chart's own repaints, seen in its view.
            dlg.OnSwitchView();
            const Figures c = Measure(dlg, false, seconds / 4, bar, chart, label);
            dlg.OnSwitchView();
            const Figures b = Measure(dlg, true, seconds, bar, chart, label);
            dlg.Acquisition()->StopRun();
            dlg.m_context.sink = dlg.Sink();

            std::printf("%-40s %14s %14s\n", "", "window", "every frame");
            const auto row = [](const char* name, double x, double y, const char* fmt) {
                char bx[32], by[32];
                std::snprintf(bx, sizeof bx, fmt, x);
                std::snprintf(by, sizeof by, fmt, y);
                std::printf("%-40s %14s %14s\n", name, bx, by);
            };
            row("frames read", a.frames, b.frames, "%.0f");
            row("frames read per second", a.frames / seconds, b.frames / seconds, "%.1f");
            row("chart samples due", a.samplesDue, b.samplesDue, "%.0f");
            row("chart samples drawn", a.samplesDrawn, b.samplesDrawn, "%.0f");
            row("chart samples lost", a.samplesDue - a.samplesDrawn, b.samplesDue - b.samplesDrawn,
                "%.0f");
            row("bar 1 repaints per second", a.barRepaintsPerS, b.barRepaintsPerS, "%.1f");
            row("total label repaints per second", a.labelRepaintsPerS, b.labelRepaintsPerS,
                "%.1f");
            row("GUI thread CPU, % of a core", a.guiCpu, b.guiCpu, "%.2f");
            row("whole process CPU, % of a core", a.processCpu, b.processCpu, "%.2f");
            row("arrival to bar painted, p50 ms", a.p50, b.p50, "%.2f");
            row("arrival to bar painted, p99 ms", a.p99, b.p99, "%.2f");
            row("arrival to bar painted, max ms", a.max, b.max, "%.2f");
            std::printf("chart view (%.0f s): chart repaints per second %.1f, samples due %ld, "
                        "drawn %ld, GUI CPU %.2f %%, process CPU %.2f %%\n",
                        seconds / 4, c.chartRepaintsPerS, c.samplesDue, c.samplesDrawn, c.guiCpu,
                        c.processCpu);
        }
    }
    ::kill(sim, SIGTERM);
    ::waitpid(sim, nullptr, 0);
    std::filesystem::remove_all(dir);
    return status;
}
