// The acquisition at the line limit: the simulator paced at 230400 baud sends 576 frames a
// second; how many arrive, what each costs the thread, and how long a frame takes from its last
// byte leaving the simulator to its update reaching the sink. A naive loop that sleeps 50 ms
// whenever a frame is incomplete runs the same measurement beside it.
#include "AcquisitionThread.h"
#include "DeviceLink.h"
#include "Simulator.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace tensiq;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kLineFrames = 230400.0 / 10 / 40; // 576 frames per second

// Which simulator frame carried each tag last, and when its last byte left.
struct SentLog {
    std::array<std::atomic<long>, 256> index{};
    std::array<std::atomic<Clock::rep>, 256> when{};
    std::atomic<long> sent{0};

    void Sent(std::uint8_t tag, Clock::time_point at) {
        const long n = ++sent;
        when[tag] = at.time_since_epoch().count();
        index[tag] = n;
    }
};

struct Figures {
    long sent = 0;
    long received = 0;
    long lost = 0;
    double cpuPerFrameUs = 0;
    double cpuShare = 0;
    double p50Ms = 0;
    double p99Ms = 0;
    double maxMs = 0;
};

// Latency and loss from the frames an update names.
class Meter {
public:
    explicit Meter(SentLog& log) : m_log(log) { m_latencies.reserve(1 << 16); }
    void Received(std::uint8_t tag) {
        const auto now = Clock::now().time_since_epoch().count();
        const long index = m_log.index[tag];
        std::lock_guard lock(m_mutex);
        m_latencies.push_back(static_cast<double>(now - m_log.when[tag]) / 1e6);
        if (m_first == 0)
            m_first = index;
        m_last = index;
        ++m_received;
    }
    void Fill(Figures& f) {
        std::lock_guard lock(m_mutex);
        f.received = m_received;
        f.sent = m_last - m_first + 1;
        f.lost = f.sent - m_received;
        std::sort(m_latencies.begin(), m_latencies.end());
        if (!m_latencies.empty()) {
            f.p50Ms = m_latencies[m_latencies.size() / 2];
            f.p99Ms = m_latencies[m_latencies.size() * 99 / 100];
            f.maxMs = m_latencies.back();
        }
    }

private:
    SentLog& m_log;
    std::mutex m_mutex;
    std::vector<double> m_latencies;
    long m_first = 0, m_last = 0, m_received = 0;
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
    void OnRecordFailed(const std::string& m) override { std::fprintf(stderr, "%s\n", m.c_str()); }

private:
    Meter& m_meter;
};

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

Figures MeasureThread(sim::Simulator& sim, SentLog& log, double seconds, const std::string& dir) {
    DeviceLink link;
    link.OpenDevice(sim.LinkPath(1));
    Meter meter(log);
    MeterSink sink(meter);
    AcquisitionContext context;
    context.link = &link;
    context.sink = &sink;
    context.recordPath = dir + "/record.txt";
    AcquisitionThread thread(context);
    thread.Start();
    thread.StartRun();
    // Let the stream start and synchronise before the clock runs.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    const auto cpu0 = thread.CpuTime();
    const long frames0 = thread.FrameCount();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const auto cpu1 = thread.CpuTime();
    const long frames1 = thread.FrameCount();
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

// Polls with a fixed 50 ms sleep whenever a whole frame is not yet queued.
Figures MeasureNaive(sim::Simulator& sim, SentLog& log, double seconds) {
    DeviceLink link;
    link.OpenDevice(sim.LinkPath(1));
    Meter meter(log);
    Figures f;
    std::thread worker([&] {
        link.StartStreaming();
        std::uint8_t byte = 0;
        for (int i = 0; i < 4000 && !(link.Read(&byte, 1) == 1 && byte == 0x0D); ++i)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        const auto warm = Clock::now() + std::chrono::milliseconds(300);
        double cpu0 = -1;
        long frames = 0;
        const DisplaySettings settings;
        const auto end = warm + std::chrono::duration_cast<Clock::duration>(
                                    std::chrono::duration<double>(seconds));
        while (Clock::now() < end) {
            if (cpu0 < 0 && Clock::now() >= warm)
                cpu0 = ThreadCpuSeconds();
            if (link.BytesWaiting() < 40) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                continue;
            }
            LiveFrame frame;
            if (link.Read(frame.bytes.data(), 40) != 40 || !frame.IsValid())
                break;
            const FrameUpdate u = ComputeReadings(frame, settings, "Gesamt");
            meter.Received(u.tag);
            if (cpu0 >= 0)
                ++frames;
        }
        const double cpu = ThreadCpuSeconds() - cpu0;
        f.cpuPerFrameUs = cpu * 1e6 / std::max(1L, frames);
        f.cpuShare = cpu / seconds;
    });
    worker.join();
    link.StopStreaming();
    link.Close();
    const double cpuPerFrame = f.cpuPerFrameUs, share = f.cpuShare;
    meter.Fill(f);
    f.cpuPerFrameUs = cpuPerFrame;
    f.cpuShare = share;
    return f;
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: %s [seconds, default 20]\n", argv[0]);
        return 2;
    }
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("tensiq-bench-" + std::to_string(getpid())))
            .string();
    std::filesystem::create_directories(dir);
    ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
    Figures poll, naive;
    {
        sim::Simulator sim(dir + "/ports");
        sim::DeviceConfig config = sim::DeviceConfig::Default();
        config.frameRate = kLineFrames;
        sim.AddDevice(1, config);
        sim.SetPacing(true);
        SentLog log;
        sim.OnFrameSent([&](int, std::uint8_t tag, Clock::time_point at) { log.Sent(tag, at); });
        sim.Start();
        std::printf("simulator paced at 230400 baud, %.0f frames/s, 12 ropes, %.0f s per loop\n",
                    kLineFrames, seconds);
        poll = MeasureThread(sim, log, seconds, dir);
        naive = MeasureNaive(sim, log, seconds);
    }
    std::filesystem::remove_all(dir);

    std::printf("\n%-34s %16s %16s\n", "", "acquisition", "naive 50 ms loop");
    std::printf("%-34s %16ld %16ld\n", "frames sent", poll.sent, naive.sent);
    std::printf("%-34s %16ld %16ld\n", "frames received", poll.received, naive.received);
    std::printf("%-34s %16ld %16ld\n", "frames lost", poll.lost, naive.lost);
    std::printf("%-34s %16.1f %16.1f\n", "CPU per frame (us)", poll.cpuPerFrameUs,
                naive.cpuPerFrameUs);
    std::printf("%-34s %15.2f%% %15.2f%%\n", "CPU of one core", poll.cpuShare * 100,
                naive.cpuShare * 100);
    std::printf("%-34s %16.2f %16.2f\n", "latency p50 (ms)", poll.p50Ms, naive.p50Ms);
    std::printf("%-34s %16.2f %16.2f\n", "latency p99 (ms)", poll.p99Ms, naive.p99Ms);
    std::printf("%-34s %16.2f %16.2f\n", "latency max (ms)", poll.maxMs, naive.maxMs);
    const bool met = poll.lost == 0 && poll.p99Ms < 5.0 && poll.cpuShare < 0.02;
    std::printf("\ntargets (nothing lost, p99 under 5 ms, under 2%% of a core): %s\n",
                met ? "met" : "NOT met");
    return 0;
}
