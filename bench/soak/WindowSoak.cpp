// The real window, offscreen, in this process; the simulated device in a process of its own.
// A run is started and stopped with the window's button, as a user does, at the line limit with
// a bad marker, a bad terminator and a dropped byte every few hundred frames; memory, descriptors
// and threads of this process must stay flat and the record the user saves must hold every valid
// frame. Then, over and over: the line hangs up in the middle of a run, also while the stream
// restarts after a fault; the window tells the user, the device comes back at another port, and the
// next run started from the window must find it there; every run's record is complete up to its
// end.
#include "WindowSoak.h"
#include "RopeLoadDlgProbe.h"

#include "CountingWindowSink.h"
#include "LanguageChoice.h"
#include "ProcessSample.h"
#include "ResourceIds.h"
#include "ResourceText.h"
#include "RopeLoadDlg.h"
#include "SettingsProfile.h"
#include "SimulatorProcess.h"
#include "SoakRecord.h"
#include "UserDialogs.h"
#include "WindowSink.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tensiq::soak {

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The window's event loop, as the program runs it, for the time given; the longest the loop
// went without turning is kept, so a GUI thread held up by a wait shows.
class EventLoop {
public:
    EventLoop() {
        m_tick.setTimerType(Qt::PreciseTimer);
        m_tick.setInterval(2);
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            const auto now = Clock::now();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_tick.start();
    }
    void Run(double seconds) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
        m_last = Clock::now();
        loop.exec();
    }
    // Turns until done() or the time is up; true when done.
    template <typename Done> bool RunUntil(Done done, double seconds) {
        const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>(seconds));
        while (!done() && Clock::now() < end)
            Run(0.05);
        return done();
    }
    double LongestStallMs() const { return Seconds(m_longest) * 1000; }
    void ResetStall() { m_longest = {}; }

private:
    QTimer m_tick;
    Clock::time_point m_last = Clock::now();
    Clock::duration m_longest{};
};

// Every box the window shows, answered OK as the user would.
struct BoxLog {
    std::vector<QString> texts;
    std::size_t Count() const { return texts.size(); }
};

// The user's click; the time the window's handler took (it looks for the device and reads the
// block on the GUI thread, as the program does).
double Click(CIconButton& button) {
    const auto t0 = Clock::now();
    button.click();
    return Seconds(Clock::now() - t0) * 1000;
}

// The line goes dead at, or a few frames after, a faulty frame (2400), while the window
// restarts the stream and synchronises, and later in the middle of the stream.
int HangUpFrame(int cycle) {
    static constexpr int kAfterFault[] = {0, 1, 2, 3, 6, 10, 25, 40, 100, 299};
    constexpr int kFault = 8 * kBadMarkerEvery;
    return kFault + kAfterFault[cycle % std::size(kAfterFault)];
}

struct WindowObjects {
    long children = 0;
    long widgets = 0;
};

WindowObjects CountObjects(const test::RopeLoadDlgProbe& dlg) {
    return {static_cast<long>(dlg.findChildren<QObject*>().size()),
            static_cast<long>(QApplication::allWidgets().size())};
}

} // namespace

bool RunWindowSoak(double minutes, const std::string& root, int argc, char** argv) {
    const double steadySeconds = minutes * 60 * 0.6;
    const double warmUp = std::min(10.0, steadySeconds / 3);
    const auto cycleEnd = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(minutes * 60));
    const std::string ports = root + "/window-ports";
    ::setenv("TENSIQ_PORT_DIR", ports.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root + "/window-data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root + "/window-config").c_str(), 1);
    const std::string runtime = root + "/window-runtime";
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::signal(SIGPIPE, SIG_IGN); // a device process that died is seen at its pipe's write

    // Both device processes before any thread of this one: the steady device, and the one whose
    // devices hang up and come back at another port.
    SimulatorProcess steadyDevice(ports), cycleDevices(ports);
    if (!steadyDevice.AddSilent(1) || !steadyDevice.AddDevice(2, true, 0)) {
        std::printf("\nwindow: the device process did not start\n");
        return false;
    }

    bool ok = true;
    QApplication app(argc, argv);
    ChooseLanguage(std::string());
    SettingsProfile profile;
    test::RopeLoadDlgProbe dlg(nullptr, &profile);
    test::CountingWindowSink* sink = nullptr;
    dlg.SetSinkFactory(test::CountingWindowSink::Into(&sink));
    dlg.Create();
    dlg.show();
    BoxLog boxes;
    ScopedMessageBoxHandler answer([&boxes](const MessageBoxRequest& box) {
        boxes.texts.push_back(box.text);
        return IDOK;
    });
    EventLoop loop;
    loop.Run(0.5);

    std::printf("\nwindow: a run started with the Start button, at the line limit, %.0f s "
                "(%.0f s warm-up)\n",
                steadySeconds, warmUp);
    std::fflush(stdout);
    {
        const auto t0 = Clock::now();
        const double startMs = Click(dlg.m_startStopButton);
        const bool started = dlg.m_measuring != 0;
        const int port = dlg.m_comPort;
        loop.Run(warmUp);
        SampleSeries samples;
        samples.Add(Sample(::getpid()));
        const WindowObjects objects0 = CountObjects(dlg);
        const test::CountingWindowSink::Counters s0 = sink->Stats();
        const long frames0 = dlg.Acquisition()->FrameCount();
        const long sent0 = steadyDevice.FramesSent();
        loop.ResetStall();
        while (Seconds(Clock::now() - t0) < steadySeconds) {
            loop.Run(1.0);
            samples.Add(Sample(::getpid()));
        }
        const double stallMs = loop.LongestStallMs();
        const double measured = Seconds(Clock::now() - t0) - warmUp;
        const test::CountingWindowSink::Counters s1 = sink->Stats();
        const long frames1 = dlg.Acquisition()->FrameCount();
        const long sent1 = steadyDevice.FramesSent();
        const WindowObjects objects1 = CountObjects(dlg);
        const double stopMs = Click(dlg.m_startStopButton);
        const bool stopped = dlg.m_measuring == 0;
        loop.Run(0.5); // the device's counters and the last apply
        const long framesRead = dlg.Acquisition()->FrameCount();
        const long sent = steadyDevice.FramesSent();
        const long starts = steadyDevice.StreamStarts();
        const test::CountingWindowSink::Counters s2 = sink->Stats();

        // The record as the user keeps it: saved under a name of the user's choice.
        const std::string saved = root + "/window-steady.txt";
        const std::size_t boxesBeforeSave = boxes.Count();
        {
            ScopedSaveFileHandler choose(
                [&saved](const SaveFileRequest&) { return QString::fromStdString(saved); });
            Click(dlg.m_saveButton);
        }
        const bool savedQuietly = boxes.Count() == boxesBeforeSave;
        const RecordCheck r = CheckRecord(saved, true);

        std::printf("  device found at port %d, Start took %.0f ms, Stop %.0f ms\n", port, startMs,
                    stopMs);
        std::printf("  frames sent %ld (%ld with a fault), stream starts %ld; frames read by the "
                    "window %ld\n",
                    sent, FaultedUpTo(sent), starts, framesRead);
        std::printf("  after the warm-up, %.0f s: sent %ld, read %ld (%.1f a second); chart "
                    "samples due %ld, drawn %ld\n",
                    measured, sent1 - sent0, frames1 - frames0,
                    static_cast<double>(frames1 - frames0) / measured,
                    s1.chartSamplesReceived - s0.chartSamplesReceived,
                    s1.chartSamplesDrawn - s0.chartSamplesDrawn + s1.chartSamplesPending -
                        s0.chartSamplesPending);
        std::printf("  frames the window took in %ld, chart samples due %ld, drawn %ld; "
                    "boxes shown %zu\n",
                    s2.framesReceived, s2.chartSamplesReceived, s2.chartSamplesDrawn,
                    boxes.Count());
        PrintRecordCheck(r);
        std::printf("  record lines equal frames read: %s; saved without a message: %s\n",
                    r.lines == framesRead ? "yes" : "NO", savedQuietly ? "yes" : "NO");
        samples.Print("after the warm-up");
        std::printf("  window objects %ld -> %ld, widgets %ld -> %ld; longest the event loop did "
                    "not turn: %.1f ms\n",
                    objects0.children, objects1.children, objects0.widgets, objects1.widgets,
                    stallMs);
        std::fflush(stdout);
        ok = ok && started && port == 2 && stopped && boxes.Count() == 0 && savedQuietly &&
             r.Sound() && r.lines == framesRead && s2.framesReceived == framesRead &&
             s2.chartSamplesDrawn == s2.chartSamplesReceived && samples.Flat(1024) &&
             objects1.children == objects0.children && objects1.widgets == objects0.widgets;
    }
    steadyDevice.Stop();

    std::printf("\nwindow: hang-up mid-run, faults as before, device back at another port, new "
                "run from the Start button; until the time is up\n");
    std::fflush(stdout);
    int cycles = 0, found = 0, complete = 0, reported = 0;
    double longestStartMs = 0, longestStallMs = 0;
    SampleSeries samples;
    WindowObjects objects0{}, objects1{};
    const QString lostText = ResourceText(res::kStrNoConnection);
    if (!cycleDevices.AddSilent(1))
        ok = false;
    for (int port = 2; port <= 255 && ok && (cycles == 0 || Clock::now() < cycleEnd); ++port) {
        const int hangUp = HangUpFrame(cycles);
        if (!cycleDevices.AddDevice(port, true, hangUp)) {
            ok = false;
            break;
        }
        const std::size_t before = boxes.Count();
        const double startMs = Click(dlg.m_startStopButton);
        const int foundAt = dlg.m_comPort;
        const bool runFound = dlg.m_measuring != 0 && foundAt == port;
        const std::size_t atStart = boxes.Count();
        loop.ResetStall();
        // The run ends on its own when the line goes dead; the window must say so.
        loop.RunUntil([&] { return boxes.Count() > atStart; }, 60);
        loop.Run(0.2); // a second box would show here
        longestStallMs = std::max(longestStallMs, loop.LongestStallMs());
        const std::size_t lost = boxes.Count() - atStart;
        const bool told = atStart == before && lost == 1 && boxes.texts.back() == lostText &&
                          dlg.m_measuring == 0;
        const RecordCheck r = CheckRecord(dlg.Context().recordPath, true);
        const bool runComplete = r.CompleteToHangUp(hangUp, true);
        ++cycles;
        found += runFound ? 1 : 0;
        complete += runComplete ? 1 : 0;
        reported += told ? 1 : 0;
        longestStartMs = std::max(longestStartMs, startMs);
        samples.Add(Sample(::getpid()));
        (cycles == 1 ? objects0 : objects1) = CountObjects(dlg);
        std::printf("  port %3d: %s at port %d (Start %.0f ms), hang-up after frame %d: %ld "
                    "lines (frames %ld to %ld, %ld corrupted, %ld gaps), %s; %zu box%s%s\n",
                    port, runFound ? "found" : "NOT FOUND", foundAt, startMs, hangUp, r.lines,
                    r.first, r.last, r.corrupted, r.gaps, runComplete ? "complete" : "INCOMPLETE",
                    boxes.Count() - before, boxes.Count() - before == 1 ? "" : "es",
                    told ? ", the lost connection told" : ", the lost connection NOT TOLD");
        std::fflush(stdout);
    }
    if (cycles < 2)
        objects1 = objects0;
    std::printf("  %d runs: device found in %d, record complete in %d, hang-up told in %d\n",
                cycles, found, complete, reported);
    std::printf("  longest Start (looking for the device, reading the block) %.0f ms; longest the "
                "event loop did not turn while a run went on and ended: %.1f ms\n",
                longestStartMs, longestStallMs);
    samples.Print("after the first run");
    std::printf("  window objects %ld -> %ld, widgets %ld -> %ld\n", objects0.children,
                objects1.children, objects0.widgets, objects1.widgets);
    std::fflush(stdout);
    ok = ok && cycles > 0 && found == cycles && complete == cycles && reported == cycles &&
         (cycles < 2 || samples.Flat(1024)) && objects1.children == objects0.children &&
         objects1.widgets == objects0.widgets;
    dlg.close();
    cycleDevices.Stop();
    return ok;
}

} // namespace tensiq::soak
