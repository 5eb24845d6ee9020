// The real window, offscreen, with its acquisition thread reading a simulated device paced at
// the line limit (576 frames a second). Measured twice in one run: as the window works, with
// every chart sample applied and one repaint a screen refresh, and beside it with every frame
// applied and repainted on its own.
// The time from a frame's last byte leaving the device to its bar on the screen is measured
// per frame; a frame whose values change nothing on the bar counts as shown at its apply.
// With "demo", the device runs inside the window's process as `tensiq --demo` runs it (a silent
// and a noisy port beside it, frames sent together every 10 ms), and the whole process's CPU is
// the demo's.
// Usage: tensiq-window-bench [seconds per mode, default 20] [demo]

#include "CountingWindowSink.h"
#include "DeviceLink.h"
#include "LanguageChoice.h"
#include "RopeLoadDlg.h"
#include "RopeLoadDlgProbe.h"
#include "Simulator.h"
#include "WindowSink.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace tensiq;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPort = 1;

double CpuSeconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Written by the simulator's process, read by the window's: when the last byte of the newest
// frame with each tag left the line, and how many frames were sent.
struct SentLog {
    std::array<std::atomic<Clock::rep>, 65536> when{};
    std::atomic<long> sent{0};
};

// Between the thread and the window's sink: the tags of the frames not yet applied.
class TagLog : public AcquisitionSink {
public:
    explicit TagLog(AcquisitionSink& next) : m_next(next) {}
    void OnFrame(const FrameUpdate& update) override {
        {
            std::lock_guard lock(m_mutex);
            m_tags.push_back(update.tag);
        }
        m_next.OnFrame(update);
    }
    void OnSynchronisationFailed(const std::string& m) override {
        m_next.OnSynchronisationFailed(m);
    }
    void OnConnectionLost(const std::string& m) override { m_next.OnConnectionLost(m); }
    void OnRecordFailed(const RecordFailure& f) override { m_next.OnRecordFailed(f); }
    // The tags up to the frame an apply took (GUI thread).
    std::vector<std::uint16_t> TakeUpTo(std::uint16_t newest) {
        std::lock_guard lock(m_mutex);
        std::vector<std::uint16_t> taken;
        while (!m_tags.empty()) {
            const std::uint16_t t = m_tags.front();
            m_tags.pop_front();
            taken.push_back(t);
            if (t == newest)
                break;
        }
        return taken;
    }

private:
    AcquisitionSink& m_next;
    std::mutex m_mutex;
    std::deque<std::uint16_t> m_tags;
};

// Which frames the window has shown. A paint of bar 1 shows every frame applied up to then,
// whether it comes inside the apply or after it; frames whose apply changed nothing on bar 1
// count as shown at their apply.
class ShowMeter : public QObject {
public:
    ShowMeter(const SentLog& log, TagLog& tags, const test::CountingWindowSink& sink)
        : m_log(log), m_tags(tags), m_sink(sink) {}

    // GUI thread, after each apply.
    void Applied() {
        TakeApplied();
        m_appliedAt = Clock::now();
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            TakeApplied();
            Settle(Clock::now());
        }
        return false;
    }
    void Measure(bool on) {
        m_measuring = on;
        m_batch.clear();
    }
    // Read once the measurement is over: the device records a frame's send time just after
    // writing it, so the window can show a frame before its time is there to read. A tag does
    // not repeat within one measurement.
    std::vector<double> TakeLatenciesMs() {
        std::vector<double> ms;
        ms.reserve(m_shown.size());
        for (const auto& [tag, shown] : m_shown)
            ms.push_back(static_cast<double>(shown.time_since_epoch().count() - m_log.when[tag]) /
                         1e6);
        m_shown.clear();
        return ms;
    }
    long paints = 0;

private:
    void TakeApplied() {
        if (m_sink.Stats().applies == 0)
            return;
        const std::uint16_t newest = m_sink.LastAppliedTag();
        if (m_haveTaken && newest == m_lastTaken)
            return;
        Settle(m_appliedAt); // still here: bar 1 had nothing new to paint for these
        const std::vector<std::uint16_t> taken = m_tags.TakeUpTo(newest);
        m_batch.insert(m_batch.end(), taken.begin(), taken.end());
        m_lastTaken = newest;
        m_haveTaken = true;
    }
    void Settle(Clock::time_point shown) {
        if (m_measuring)
            for (std::uint16_t tag : m_batch)
                m_shown.emplace_back(tag, shown);
        m_batch.clear();
    }
    const SentLog& m_log;
    TagLog& m_tags;
    const test::CountingWindowSink& m_sink;
    std::vector<std::uint16_t> m_batch;
    std::vector<std::pair<std::uint16_t, Clock::time_point>> m_shown;
    std::uint16_t m_lastTaken = 0;
    bool m_haveTaken = false;
    Clock::time_point m_appliedAt{};
    bool m_measuring = false;
};

// Counts a widget's paints.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    long paints = 0;
};

struct Figures {
    long sent = 0;
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

// The window's own event loop, as in the program, for the time given.
void Pump(double seconds) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

Figures Measure(test::RopeLoadDlgProbe& dlg, test::CountingWindowSink& sink, const SentLog& sent,
                bool everyFrame, double seconds, ShowMeter& bar, PaintCounter& chart,
                PaintCounter& label) {
    sink.SetApplyEveryFrame(everyFrame);
    Pump(1.0); // the mode settles
    const test::CountingWindowSink::Counters s0 = sink.Stats();
    const long sent0 = sent.sent;
    const long frames0 = dlg.Acquisition()->FrameCount();
    const long bar0 = bar.paints, chart0 = chart.paints, label0 = label.paints;
    bar.TakeLatenciesMs();
    bar.Measure(true);
    const double gui0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double proc0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    Pump(seconds);
    const double gui1 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double proc1 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    bar.Measure(false);
    const long frames1 = dlg.Acquisition()->FrameCount();
    const long sent1 = sent.sent;
    const test::CountingWindowSink::Counters s1 = sink.Stats();

    Figures f;
    f.sent = sent1 - sent0;
    f.frames = frames1 - frames0;
    f.samplesDue = s1.chartSamplesReceived - s0.chartSamplesReceived;
    // Samples still waiting for the next refresh are not lost.
    f.samplesDrawn = s1.chartSamplesDrawn - s0.chartSamplesDrawn + s1.chartSamplesPending -
                     s0.chartSamplesPending;
    f.barRepaintsPerS = static_cast<double>(bar.paints - bar0) / seconds;
    f.chartRepaintsPerS = static_cast<double>(chart.paints - chart0) / seconds;
    f.labelRepaintsPerS = static_cast<double>(label.paints - label0) / seconds;
    f.guiCpu = 100.0 * (gui1 - gui0) / seconds;
    f.processCpu = 100.0 * (proc1 - proc0) / seconds;
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the last send times land
    const std::vector<double> latencies = bar.TakeLatenciesMs();
    f.p50 = Percentile(latencies, 0.50);
    f.p99 = Percentile(latencies, 0.99);
    f.max = Percentile(latencies, 1.0);
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

    const bool demo = argc > 2 && std::string(argv[2]) == "demo";
    // The device in a process of its own, so the process figures are the program's alone; in
    // the demo's way, in the window's process.
    auto* sent = static_cast<SentLog*>(::mmap(nullptr, sizeof(SentLog), PROT_READ | PROT_WRITE,
                                              MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    new (sent) SentLog();
    const std::string ports = dir + "/ports";
    std::filesystem::create_directories(dir);
    const auto makeDevice = [&](sim::Simulator& simulator) {
        sim::DeviceConfig config = sim::DeviceConfig::Default();
        config.frameRate = 230400.0 / 10 / 40;
        simulator.AddDevice(kPort, config);
        simulator.SetPacing(true);
        simulator.OnFrameSent([sent](int, std::uint16_t tag, Clock::time_point at) {
            sent->when[tag] = at.time_since_epoch().count();
            ++sent->sent;
        });
    };
    std::unique_ptr<sim::Simulator> inProcess;
    pid_t sim = -1;
    if (demo) {
        inProcess = std::make_unique<sim::Simulator>(ports);
        inProcess->AddSilent(kPort + 1);
        inProcess->AddNoise(kPort + 2);
        makeDevice(*inProcess);
        inProcess->SetBatch(std::chrono::milliseconds(10));
        inProcess->Start();
    } else if ((sim = ::fork()) == 0) {
        sim::Simulator simulator(ports);
        makeDevice(simulator);
        simulator.Start();
        while (::getppid() != 1)
            ::pause();
        ::_exit(0);
    }
    for (int i = 0; i < 100 && !std::filesystem::exists(ports + "/COM1"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    int status = 0;
    {
        QApplication app(argc, argv);
        ChooseLanguage(std::string());
        test::RopeLoadDlgProbe dlg;
        test::CountingWindowSink* sink = nullptr;
        dlg.SetSinkFactory(test::CountingWindowSink::Into(&sink));
        dlg.Create();
        dlg.show();
        TagLog tags(*sink);
        ShowMeter bar(*sent, tags, *sink);
        PaintCounter chart, label;
        sink->SetAppliedHook([&](long, Clock::time_point) { bar.Applied(); });
        dlg.m_bars[0].installEventFilter(&bar);
        dlg.m_chart.installEventFilter(&chart);
        dlg.m_totalLabel.installEventFilter(&label);
        dlg.m_context.sink = &tags;

        ParameterBlock block;
        if (!dlg.m_link.Open(kPort) || !dlg.m_link.ReadParameters(block)) {
            std::fprintf(stderr, "no device on the simulated port\n");
            status = 1;
        } else {
            dlg.SetStoredBlock(block);
            dlg.Acquisition()->StartRun();
            std::printf("window bench: %.0f s per mode, simulator paced at 576 frames/s%s, "
                        "refresh %.1f ms\n",
                        seconds,
                        demo ? " inside the window's process as the demo runs it (its CPU "
                               "counts; arrival times include its 10 ms batches)"
                             : "",
                        static_cast<double>(dlg.Sink()->RefreshInterval().count()) / 1000.0);
            const Figures a = Measure(dlg, *sink, *sent, false, seconds, bar, chart, label);
            // The chart's own repaints, seen in its view.
            dlg.OnSwitchView();
            const Figures c = Measure(dlg, *sink, *sent, false, seconds / 4, bar, chart, label);
            dlg.OnSwitchView();
            const Figures b = Measure(dlg, *sink, *sent, true, seconds, bar, chart, label);
            dlg.Acquisition()->StopRun();
            dlg.m_context.sink = dlg.Sink();

            std::printf("%-40s %14s %14s\n", "", "window", "every frame");
            const auto row = [](const char* name, double x, double y, const char* fmt) {
                char bx[32], by[32];
                std::snprintf(bx, sizeof bx, fmt, x);
                std::snprintf(by, sizeof by, fmt, y);
                std::printf("%-40s %14s %14s\n", name, bx, by);
            };
            row("frames sent by the device", a.sent, b.sent, "%.0f");
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
    if (sim > 0) {
        ::kill(sim, SIGKILL);
        ::waitpid(sim, nullptr, 0);
    }
    if (inProcess)
        inProcess->Stop();
    std::filesystem::remove_all(dir);
    return status;
}
