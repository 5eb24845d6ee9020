// The acquisition at the line limit: the simulator paced at 230400 baud sends 576 frames a
// second, each frame in one write, as a sender that writes whole frames. Three readers take the
// stream one after the other, each from a fresh simulator: a bare blocking read of whole frames
// (the floor), the acquisition thread, and a naive loop that sleeps 50 ms whenever a frame is
// incomplete and writes the record too. For each: frames sent (counted where the simulator
// sends them), received and lost, CPU per frame, and the latency from a frame's last byte
// leaving the simulator to its update. The frames of the stream start, queued while the stream
// is set up, are reported apart from the steady state.
//
// Then the same against processes of their own: an independent bare reader (tensiq-bare-reader)
// that checks the floor, and tensiq-cli record, with its CPU per frame beside the bare
// reader's and a bare recorder's (the bare reader writing the lines: the least a record costs;
// each alone, in rounds), its system calls (strace) and user-space instructions
// (callgrind) per frame. Last, the demo's own simulated device.
#include "AcquisitionThread.h"
#include "CliRecordFigures.h"
#include "DeviceLink.h"
#include "MeanInterval.h"
#include "Median.h"
#include "RecordFile.h"
#include "Simulator.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tensiq;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kLineFrames = 230400.0 / 10 / 40; // 576 frames per second
constexpr auto kWarmUp = std::chrono::milliseconds(700);
constexpr auto kDrain = std::chrono::milliseconds(150);
// The simulator's frame numbers repeat after this many frames.
constexpr double kUniqueFrames = 65025;
// Rounds of the bare reader, the floor and the acquisition thread, each alone; and, unless told
// otherwise, of the bare reader, the bare recorder and record. A round's ratio of record to the
// bare reader swings by about 0.14 here: twelve rounds put its mean within some 0.09, forty
// within 0.05.
constexpr int kFloorRounds = 5;
constexpr int kCliRounds = 12;

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// Each frame's send time by its number, and the count of frames sent in and before the
// measured window, counted as the simulator sends them.
struct SentLog {
    std::unique_ptr<std::atomic<Clock::rep>[]> when { new std::atomic<Clock::rep>[65536] {} };
    std::atomic<Clock::rep> windowStart{Clock::time_point::max().time_since_epoch().count()};
    std::atomic<Clock::rep> windowEnd{Clock::time_point::max().time_since_epoch().count()};
    std::atomic<long> startup{0}, steady{0};

    void Sent(std::uint16_t tag, Clock::time_point at) {
        const auto t = at.time_since_epoch().count();
        when[tag] = t;
        if (t < windowStart)
            ++startup;
        else if (t <= windowEnd)
            ++steady;
    }
    void OpenWindow(double seconds) {
        const auto now = Clock::now();
        windowEnd = (now + std::chrono::duration_cast<Clock::duration>(
                               std::chrono::duration<double>(seconds)))
                        .time_since_epoch()
                        .count();
        windowStart = now.time_since_epoch().count();
    }
    bool InWindow(Clock::time_point t) const {
        const auto c = t.time_since_epoch().count();
        return c >= windowStart && c <= windowEnd;
    }
};

struct Latencies {
    std::vector<double> ms;
    double Quantile(double q) {
        if (ms.empty())
            return 0;
        std::sort(ms.begin(), ms.end());
        return ms[std::min(ms.size() - 1, static_cast<std::size_t>(q * ms.size()))];
    }
};

struct Figures {
    long sent = 0, received = 0, lost = 0, unknown = 0;
    double cpuPerFrameUs = 0, cpuShare = 0;
    double p50Ms = 0, p99Ms = 0, maxMs = 0;
    long startupSent = 0, startupReceived = 0;
    double startupP50Ms = 0, startupMaxMs = 0;
};

// Latency and loss from the frames the updates name. A reader may take a frame before the
// simulator's thread has logged it, so arrivals are matched with the log only at the end.
class Meter {
public:
    explicit Meter(SentLog& log) : m_log(log) { m_arrivals.reserve(1 << 16); }
    void Received(std::uint16_t tag) {
        const auto now = Clock::now().time_since_epoch().count();
        std::lock_guard lock(m_mutex);
        m_arrivals.emplace_back(tag, now);
    }
    void Fill(Figures& f) {
        std::lock_guard lock(m_mutex);
        Latencies steady, startup;
        for (const auto& [tag, at] : m_arrivals) {
            const auto sent = m_log.when[tag].load();
            const double ms = static_cast<double>(at - sent) / 1e6;
            if (sent == 0 || ms < 0)
                ++f.unknown;
            else if (sent < m_log.windowStart)
                startup.ms.push_back(ms);
            else if (sent <= m_log.windowEnd)
                steady.ms.push_back(ms);
        }
        f.sent = m_log.steady;
        f.received = static_cast<long>(steady.ms.size());
        f.lost = f.sent - f.received;
        f.p50Ms = steady.Quantile(0.50);
        f.p99Ms = steady.Quantile(0.99);
        f.maxMs = steady.Quantile(1.0);
        f.startupSent = m_log.startup;
        f.startupReceived = static_cast<long>(startup.ms.size());
        f.startupP50Ms = startup.Quantile(0.50);
        f.startupMaxMs = startup.Quantile(1.0);
    }

private:
    SentLog& m_log;
    std::mutex m_mutex;
    std::vector<std::pair<std::uint16_t, Clock::rep>> m_arrivals;
};

// CPU and frames of the calling thread over the window, sampled as the loop passes its edges.
struct CpuWindow {
    bool started = false, ended = false;
    double cpu0 = 0, cpu1 = 0;
    long frames0 = 0, frames1 = 0;
    void Tick(const SentLog& log, long frames) {
        const auto now = Clock::now().time_since_epoch().count();
        if (!started && now >= log.windowStart) {
            started = true;
            cpu0 = ThreadCpuSeconds();
            frames0 = frames;
        } else if (started && !ended && now > log.windowEnd) {
            ended = true;
            cpu1 = ThreadCpuSeconds();
            frames1 = frames;
        }
    }
    void Fill(Figures& f, double seconds) const {
        const double cpu = cpu1 - cpu0;
        f.cpuPerFrameUs = cpu * 1e6 / std::max(1L, frames1 - frames0);
        f.cpuShare = cpu / seconds;
    }
};

// One simulated device paced at the line rate, its frames logged.
struct Line {
    Line(const std::string& dir, SentLog& log) : sim(dir) {
        sim::DeviceConfig config = sim::DeviceConfig::Default();
        config.frameRate = kLineFrames;
        sim.AddDevice(1, config);
        sim.SetPacing(true);
        sim.OnFrameSent(
            [&log](int, std::uint16_t tag, Clock::time_point at) { log.Sent(tag, at); });
        sim.Start();
    }
    sim::Simulator sim;
};

class MeterSink : public AcquisitionSink {
public:
    explicit MeterSink(Meter& meter) : m_meter(meter) {}
    void OnFrame(const FrameUpdate& u) override { m_meter.Received(u.tag); }
    void OnSynchronisationFailed(const std::string& m) override {
        std::fprintf(stderr, "synchronisation failed: %s\n", m.c_str());
    }
    void OnConnectionLost(const std::string& m) override {
        std::fprintf(stderr, "connection lost: %s\n", m.c_str());
    }
    void OnRecordFailed(const RecordFailure& f) override {
        std::fprintf(stderr, "%s\n", f.Text().c_str());
    }

private:
    Meter& m_meter;
};

Figures MeasureThread(const std::string& dir, double seconds) {
    SentLog log;
    Line line(dir + "/ports-thread", log);
    DeviceLink link;
    link.OpenDevice(line.sim.LinkPath(1));
    Meter meter(log);
    MeterSink sink(meter);
    AcquisitionContext context;
    context.link = &link;
    context.sink = &sink;
    context.recordPath = dir + "/record-thread.txt";
    AcquisitionThread thread(context);
    thread.Start();
    thread.StartRun();
    std::this_thread::sleep_for(kWarmUp);
    log.OpenWindow(seconds);
    const auto cpu0 = thread.CpuTime();
    const long frames0 = thread.FrameCount();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const auto cpu1 = thread.CpuTime();
    const long frames1 = thread.FrameCount();
    std::this_thread::sleep_for(kDrain);
    thread.StopRun();
    link.StopStreaming();
    link.Close();
    Figures f;
    meter.Fill(f);
    const double cpu = std::chrono::duration<double>(cpu1 - cpu0).count();
    f.cpuPerFrameUs = cpu * 1e6 / std::max(1L, frames1 - frames0);
    f.cpuShare = cpu / seconds;
    return f;
}

// Runs body on a worker thread while the window opens after the warm-up and closes again.
template <typename Body> void RunWorker(SentLog& log, double seconds, Body body) {
    std::atomic<bool> stop{false};
    std::thread worker([&] { body(stop); });
    std::this_thread::sleep_for(kWarmUp);
    log.OpenWindow(seconds);
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds) + kDrain);
    stop = true;
    worker.join();
}

// Polls with a fixed 50 ms sleep whenever a whole frame is not yet queued; records each frame.
Figures MeasureNaive(const std::string& dir, double seconds) {
    SentLog log;
    Line line(dir + "/ports-naive", log);
    Meter meter(log);
    CpuWindow window;
    RunWorker(log, seconds, [&](std::atomic<bool>& stop) {
        DeviceLink link;
        link.OpenDevice(line.sim.LinkPath(1));
        RecordFile record;
        record.Open(dir + "/record-naive.txt");
        const DisplaySettings settings;
        long frames = 0;
        link.StartStreaming();
        bool synchronised = false;
        while (!stop) {
            window.Tick(log, frames);
            std::uint8_t byte = 0;
            if (!synchronised) {
                if (link.Read(&byte, 1) == 1)
                    synchronised = byte == LiveFrame::kTerminator;
                else
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                continue;
            }
            if (link.BytesWaiting() < static_cast<int>(LiveFrame::kSize)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                continue;
            }
            LiveFrame frame;
            if (link.Read(frame.bytes.data(), LiveFrame::kSize) != LiveFrame::kSize ||
                !frame.IsValid()) {
                synchronised = false;
                continue;
            }
            const FrameUpdate u = ComputeReadings(frame, settings, "Gesamt");
            record.WriteLoads(u.loads);
            meter.Received(u.tag);
            ++frames;
        }
        record.Close();
        link.StopStreaming();
        link.Close();
    });
    Figures f;
    meter.Fill(f);
    window.Fill(f, seconds);
    return f;
}

// The floor: a blocking read that returns once a whole 40-byte frame is in, nothing else.
Figures MeasureFloor(const std::string& dir, double seconds) {
    SentLog log;
    Line line(dir + "/ports-floor", log);
    Meter meter(log);
    CpuWindow window;
    RunWorker(log, seconds, [&](std::atomic<bool>& stop) {
        const int fd = ::open(line.sim.LinkPath(1).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            std::perror("floor: open");
            return;
        }
        termios tio{};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B230400);
        ::cfsetospeed(&tio, B230400);
        const auto setMinimum = [&](int bytes) {
            tio.c_cc[VMIN] = static_cast<cc_t>(bytes);
            tio.c_cc[VTIME] = 0;
            ::tcsetattr(fd, TCSANOW, &tio);
        };
        setMinimum(1);
        for (const char c : {'X', 'B', 'N', 'S'}) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (c == 'B')
                ::tcflush(fd, TCIFLUSH);
            if (::write(fd, &c, 1) != 1)
                std::perror("floor: write");
        }
        long frames = 0;
        std::uint8_t byte = 0;
        LiveFrame frame;
        while (!stop) {
            window.Tick(log, frames);
            while (!stop && ::read(fd, &byte, 1) == 1 && byte != LiveFrame::kTerminator) {
            }
            setMinimum(static_cast<int>(LiveFrame::kSize));
            while (!stop &&
                   ::read(fd, frame.bytes.data(), LiveFrame::kSize) ==
                       static_cast<ssize_t>(LiveFrame::kSize) &&
                   frame.IsValid()) {
                meter.Received(frame.Tag());
                window.Tick(log, ++frames);
            }
            setMinimum(1);
        }
        const char quiet = 'X';
        if (::write(fd, &quiet, 1) != 1)
            std::perror("floor: write");
        ::close(fd);
    });
    Figures f;
    meter.Fill(f);
    window.Fill(f, seconds);
    return f;
}

struct DemoFigures {
    long frames = 0;
    double simulatorShare = 0; // of one core
};

// The demo's simulator: a silent and a noise port beside the device, paced at the line limit,
// read by an acquisition thread with its record as the window's is. The simulator thread's CPU.
DemoFigures MeasureDemoDevice(const std::string& dir, double seconds, Clock::duration batch) {
    sim::Simulator sim(dir);
    sim.AddSilent(1);
    sim.AddNoise(2);
    sim::DeviceConfig config = sim::DeviceConfig::Default();
    config.frameRate = kLineFrames;
    config.settleSeconds = 120;
    sim.AddDevice(3, config);
    sim.SetPacing(true);
    sim.SetBatch(batch);
    sim.Start();
    DeviceLink link;
    link.OpenDevice(sim.LinkPath(3));
    SentLog log;
    Meter meter(log);
    MeterSink sink(meter);
    AcquisitionContext context;
    context.link = &link;
    context.sink = &sink;
    context.recordPath = dir + "-record.txt";
    AcquisitionThread thread(context);
    thread.Start();
    thread.StartRun();
    std::this_thread::sleep_for(kWarmUp);
    const auto cpu0 = sim.CpuTime();
    const long frames0 = thread.FrameCount();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    DemoFigures f;
    f.simulatorShare = std::chrono::duration<double>(sim.CpuTime() - cpu0).count() / seconds;
    f.frames = thread.FrameCount() - frames0;
    thread.StopRun();
    link.StopStreaming();
    link.Close();
    return f;
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    const int cliRounds = argc > 2 ? std::atoi(argv[2]) : kCliRounds;
    if (argc > 3 || !(seconds > 0) || seconds * kLineFrames + 1000 > kUniqueFrames ||
        cliRounds < 2 || cliRounds > 1000) {
        std::fprintf(stderr,
                     "usage: %s [SECONDS [ROUNDS]]\n"
                     "  SECONDS  measured per reader, default 20, at most 110\n"
                     "  ROUNDS   of tensiq-cli record against the bare reader, default %d, at "
                     "least 2\n",
                     argv[0], kCliRounds);
        return 2;
    }
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("tensiq-bench-" + std::to_string(getpid())))
            .string();
    std::filesystem::create_directories(dir);
    ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
    std::printf("simulator paced at 230400 baud, %.0f frames/s, 12 ropes; %.0f s measured per "
                "reader after %.1f s of stream start\n",
                kLineFrames, seconds, std::chrono::duration<double>(kWarmUp).count());
    std::fflush(stdout);
    // The floor and the independent bare reader take turns, each alone: a reader that runs
    // beside another finds the processors awake and pays less for a wake-up.
    // The acquisition thread takes its turn in the same rounds, and is compared with the floor
    // of its own round.
    bench::BareReaderFigures bare;
    const Figures floor = MeasureFloor(dir, seconds);
    const Figures thread = MeasureThread(dir, seconds);
    std::vector<double> floorCpu{floor.cpuPerFrameUs}, bareCpu, threadCpu{thread.cpuPerFrameUs};
    std::vector<double> threadRatio{thread.cpuPerFrameUs / std::max(1e-9, floor.cpuPerFrameUs)};
    for (int round = 0; round < kFloorRounds && bare.failure.empty(); ++round) {
        const std::string folder = dir + "/round-" + std::to_string(round);
        std::filesystem::create_directories(folder);
        bare = bench::MeasureBareReader(folder, TENSIQ_BARE_READER_PATH, seconds);
        if (bare.failure.empty())
            bareCpu.push_back(bare.cpuPerFrameUs);
        if (round + 1 < kFloorRounds) {
            const double floorRound = MeasureFloor(folder, seconds).cpuPerFrameUs;
            const double threadRound = MeasureThread(folder, seconds).cpuPerFrameUs;
            floorCpu.push_back(floorRound);
            threadCpu.push_back(threadRound);
            threadRatio.push_back(threadRound / std::max(1e-9, floorRound));
        }
    }
    const Figures naive = MeasureNaive(dir, seconds);
    std::printf("measuring tensiq-cli record and the independent bare reader...\n");
    std::fflush(stdout);
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    const bench::CliRecordFigures cli =
        bench::MeasureCliRecord(dir, TENSIQ_CLI_PATH, TENSIQ_BARE_READER_PATH, cliRounds);
    const double demoSeconds = std::min(seconds, 10.0);
    const DemoFigures demoPerFrame = MeasureDemoDevice(dir + "/demo-1", demoSeconds, {});
    const DemoFigures demoBatched =
        MeasureDemoDevice(dir + "/demo-2", demoSeconds, std::chrono::milliseconds(10));
    std::filesystem::remove_all(dir);

    const Figures* all[] = {&floor, &thread, &naive};
    const auto row = [&](const char* name, auto get, const char* format) {
        std::printf("%-34s", name);
        for (const Figures* f : all)
            std::printf(format, get(*f));
        std::printf("\n");
    };
    std::printf("\n%-34s %16s %16s %16s\n", "", "blocking reader", "acquisition", "naive 50 ms");
    std::printf("steady state\n");
    row(
        "  frames sent", [](const Figures& f) { return f.sent; }, " %16ld");
    row(
        "  frames received", [](const Figures& f) { return f.received; }, " %16ld");
    row(
        "  frames lost", [](const Figures& f) { return f.lost; }, " %16ld");
    row(
        "  CPU per frame (us)", [](const Figures& f) { return f.cpuPerFrameUs; }, " %16.1f");
    row(
        "  CPU of one core (%)", [](const Figures& f) { return f.cpuShare * 100; }, " %16.2f");
    row(
        "  latency p50 (ms)", [](const Figures& f) { return f.p50Ms; }, " %16.2f");
    row(
        "  latency p99 (ms)", [](const Figures& f) { return f.p99Ms; }, " %16.2f");
    row(
        "  latency max (ms)", [](const Figures& f) { return f.maxMs; }, " %16.2f");
    std::printf("stream start\n");
    row(
        "  frames sent", [](const Figures& f) { return f.startupSent; }, " %16ld");
    row(
        "  frames received", [](const Figures& f) { return f.startupReceived; }, " %16ld");
    row(
        "  latency p50 (ms)", [](const Figures& f) { return f.startupP50Ms; }, " %16.2f");
    row(
        "  latency max (ms)", [](const Figures& f) { return f.startupMaxMs; }, " %16.2f");
    for (const Figures* f : all)
        if (f->unknown != 0)
            std::printf("warning: %ld updates named a frame never sent\n", f->unknown);

    // Ratios are the means of the rounds' ratios with their 95 % intervals.
    const auto interval = [](const bench::MeanInterval& m) {
        char text[64];
        if (m.halfWidth < 0)
            std::snprintf(text, sizeof text, "%.2fx (one round: no interval)", m.mean);
        else
            std::snprintf(text, sizeof text, "%.2fx (%.2f to %.2f)", m.mean, m.Low(), m.High());
        return std::string(text);
    };
    const bench::MeanInterval ratio = bench::MeanWithInterval(threadRatio);
    const bool streamMet = thread.lost == 0 && thread.sent > 0 && thread.p99Ms < 2.0;
    const bench::Verdict cpuVerdict = bench::AtMost(ratio, 1.5);
    std::printf("\nacquisition CPU per frame: %.1f us against the blocking reader's %.1f us "
                "(medians of %zu rounds, each alone)\n",
                bench::Median(threadCpu), bench::Median(floorCpu), threadRatio.size());
    std::printf("  %s the blocking reader\n", interval(ratio).c_str());
    std::printf("targets: nothing lost and p99 under 2 ms %s; at most 1.5x the blocking reader "
                "%s\n",
                streamMet ? "met" : "NOT met", bench::VerdictText(cpuVerdict));

    // The floor is only a floor if an independent reader measures the same.
    std::printf("\nprocesses of their own, each against a fresh paced simulator\n");
    for (const std::string& failure : {bare.failure, cli.failure})
        if (!failure.empty())
            std::printf("  warning: %s\n", failure.c_str());
    const double bareMedian = bench::Median(bareCpu);
    const double floorMedian = bench::Median(floorCpu);
    const double floorGap = bareMedian > 0 ? floorMedian / bareMedian - 1 : 0;
    std::printf("  independent bare reader, CPU per frame (us)  %8.1f  (%ld frames, median of %zu "
                "rounds)\n",
                bareMedian, bare.frames, bareCpu.size());
    std::printf("  the bench's floor, the same rounds (us)      %8.1f  %+.0f %%  (%s)\n",
                floorMedian, floorGap * 100,
                std::abs(floorGap) <= 0.10 ? "within 10 %, a true floor" : "NOT within 10 %");
    std::printf("  record, CPU per frame (us)                    %8.1f  (4 s of its steady stream, "
                "median of %d rounds)\n",
                cli.cpuPerFrameUs, cli.rounds);
    std::printf("  the bare reader alone, same rounds (us)      %8.1f  record %s that\n",
                cli.bareCpuPerFrameUs, interval(cli.ratio).c_str());
    std::printf("  the bare recorder alone, same rounds (us)    %8.1f  %s the bare reader;\n",
                cli.bareRecorderCpuPerFrameUs, interval(cli.recorderRatio).c_str());
    std::printf("                                                         record %s it\n",
                interval(cli.ratioToRecorder).c_str());
    if (cli.syscallsPerFrame >= 0)
        std::printf("  record, system calls per frame               %8.2f  (strace -c -f, 3000 "
                    "minus 500 frames)\n",
                    cli.syscallsPerFrame);
    else
        std::printf("  record, system calls per frame               %s\n", cli.syscallNote.c_str());
    if (cli.instructionsPerFrame >= 0)
        std::printf("  record, user-space instructions per frame    %8.0f  (callgrind, 5000 "
                    "minus 1000 frames)\n",
                    cli.instructionsPerFrame);
    else
        std::printf("  record, user-space instructions per frame    %s\n",
                    cli.instructionNote.c_str());
    const bool countsMet = cli.syscallsPerFrame >= 0 && cli.syscallsPerFrame <= 2.0 &&
                           cli.instructionsPerFrame >= 0 && cli.instructionsPerFrame <= 1500;
    std::printf("  targets: 2.0 system calls and 1500 instructions a frame %s; at most 1.2x the "
                "bare reader %s\n",
                countsMet ? "met" : "NOT met", bench::VerdictText(bench::AtMost(cli.ratio, 1.2)));
    if (bench::AtMost(cli.ratio, 1.2) == bench::Verdict::Undecided)
        std::printf("  more rounds decide it: the second argument, e.g. 40\n");

    std::printf("\nthe demo's own device (silent, noise and device port, paced at the line "
                "limit), %.0f s each\n",
                demoSeconds);
    std::printf("  simulator thread, a wake-up per frame      %6.2f %% of a core (%ld frames "
                "read)\n",
                demoPerFrame.simulatorShare * 100, demoPerFrame.frames);
    std::printf("  simulator thread, one wake-up per 10 ms    %6.2f %% of a core (%ld frames "
                "read), as the demo runs it\n",
                demoBatched.simulatorShare * 100, demoBatched.frames);
    return 0;
}
