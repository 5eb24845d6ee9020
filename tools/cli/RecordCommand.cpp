#include "AcquisitionThread.h"
#include "Commands.h"

#include <atomic>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace tensiq::cli {

namespace {

constexpr double kMaxSeconds = 7 * 24 * 3600.0;
constexpr int kSilenceCheckMs = 100;
constexpr int kSilenceRounds = 5;

// The first signal that asked the run to end.
std::atomic<int> g_signal{0};
// Wakes the waiting main thread: a stop signal, or the run ended by the sink.
int g_wakeFd = -1;

void WakeMain() {
    const std::uint64_t one = 1;
    if (g_wakeFd >= 0 && ::write(g_wakeFd, &one, sizeof one) < 0) {
        // Full or gone: the main thread is awake already or does not wait.
    }
}

extern "C" void OnStopSignal(int number) {
    const int saved = errno;
    int none = 0;
    g_signal.compare_exchange_strong(none, number);
    WakeMain();
    errno = saved;
}

// Ctrl-C is how a run is ended by hand; the others end it because the tool has to go (the
// terminal closed, the reader of the output left, a quit or a termination request). Each one
// stops the device's stream and closes the record before the tool exits.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int number : kStopSignals)
        sigaction(number, &action, nullptr);
}

std::string SignalName(int number) {
    switch (number) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP (the terminal was closed)";
    case SIGQUIT:
        return "SIGQUIT";
    case SIGPIPE:
        return "SIGPIPE (the reader of the output has gone)";
    default:
        return "signal " + std::to_string(number);
    }
}

// Counts the frames of the run and ends it after the last one wanted, so the record holds
// exactly that many lines.
class RecordSink : public AcquisitionSink {
public:
    RecordSink(AcquisitionContext& context, long frames, bool progress)
        : m_context(context), m_limit(frames), m_progress(progress) {}

    void OnFrame(const FrameUpdate& update) override {
        const long n = ++m_frames;
        if (m_limit > 0 && n >= m_limit) {
            m_context.runFlag = 0;
            WakeMain();
        }
        if (m_progress) {
            const auto now = std::chrono::steady_clock::now();
            if (now - m_lastShown >= std::chrono::milliseconds(100) || n == m_limit) {
                m_lastShown = now;
                std::fprintf(stderr, "\r%6ld frames  total %d kg   ", n, update.totalKg);
            }
        }
    }
    void OnSynchronisationFailed(const std::string&) override {
        // The thread's text is in the window's language; this tool speaks English.
        Fail("The device's data stream cannot be synchronised: no frame end within 41 bytes.");
    }
    void OnConnectionLost(const std::string&) override {
        m_lost = true;
        Fail("The connection to the device was lost: the port hung up.");
    }
    void OnRecordFailed(const RecordFailure& failure) override { Fail(failure.Text()); }
    bool ShowsTotalText() const override { return false; }
    long Frames() const { return m_frames; }
    bool ConnectionLost() const { return m_lost; }
    std::string Failure() {
        std::lock_guard lock(m_mutex);
        return m_failure;
    }

private:
    void Fail(const std::string& message) {
        {
            std::lock_guard lock(m_mutex);
            if (m_failure.empty())
                m_failure = message;
        }
        WakeMain();
    }

    AcquisitionContext& m_context;
    const long m_limit;
    const bool m_progress;
    std::atomic<long> m_frames{0};
    std::atomic<bool> m_lost{false};
    std::chrono::steady_clock::time_point m_lastShown{};
    std::mutex m_mutex;
    std::string m_failure;
};

struct RecordOptions {
    long frames = 0;
    double seconds = 0;
    std::string out = "-";
    bool progress = false;
};

// An output that cannot be created is refused before the device is touched. The file is not
// emptied here: that happens when the run starts.
bool CanCreate(const std::string& path, std::string& reason) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        reason = std::generic_category().message(errno);
        return false;
    }
    ::close(fd);
    return true;
}

// After X, frames already on their way still come in for a moment; the device counts as
// silent once a pause brings nothing new. A device that streams on fills every pause.
bool FallsSilent(DeviceLink& link) {
    if (!link.StopStreaming())
        return false;
    for (int round = 0; round < kSilenceRounds; ++round) {
        Pause(kSilenceCheckMs);
        if (link.BytesWaiting() == 0)
            return true;
        link.Drain();
    }
    return false;
}

int RunRecord(Tool& tool, const RecordOptions& options) {
    std::string reason;
    if (options.out != "-" && !CanCreate(options.out, reason)) {
        std::cerr << "The record " << options.out << " cannot be created: " << reason << ".\n";
        return kExitUsage;
    }
    if (g_wakeFd < 0)
        g_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    CatchStopSignals();
    DeviceLink link(tool.profile);
    if (!OpenLink(link, tool.port, std::cerr))
        return kExitNoDevice;
    ParameterBlock block;
    if (!link.ReadParameters(block)) {
        std::cerr << "Reading the parameters is not possible, so the factor is unknown.\n";
        link.Close();
        return kExitTransfer;
    }
    AcquisitionContext context;
    RecordSink sink(context, options.frames, options.progress);
    context.link = &link;
    context.sink = &sink;
    context.recordPath = options.out;
    context.SetFactor(block.Factor());

    AcquisitionThread thread(context);
    thread.Start();
    if (g_signal == 0)
        thread.StartRun();
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(options.seconds));
    // Sleeps until woken: a wake-up every few milliseconds would cost the stream's system calls.
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (context.runFlag == 0 || g_signal != 0 || (options.seconds > 0 && now >= end))
            break;
        int timeoutMs = -1;
        if (options.seconds > 0)
            timeoutMs = static_cast<int>(std::min<long long>(
                std::chrono::ceil<std::chrono::milliseconds>(end - now).count(), 60'000));
        pollfd wake{g_wakeFd, POLLIN, 0};
        if (g_wakeFd < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        else if (::poll(&wake, 1, timeoutMs) > 0) {
            std::uint64_t count = 0;
            if (::read(g_wakeFd, &count, sizeof count) < 0) {
                // Already drained.
            }
        }
    }
    thread.StopRun();
    // The device must be silent when the tool has gone; a stream that goes on is a failure.
    // A line that hung up can neither be told to stop nor heard: its loss is what to report.
    const bool lost = sink.ConnectionLost();
    const bool silent = lost || FallsSilent(link);
    link.Close();
    if (options.progress)
        std::cerr << "\n";

    int status = kExitOk;
    const std::string failure = sink.Failure();
    if (!failure.empty()) {
        std::cerr << failure << "\n";
        status = kExitTransfer;
    } else {
        std::cerr << "Recorded " << sink.Frames() << " frames"
                  << (options.out == "-" ? "" : " to " + options.out)
                  << (g_signal == SIGINT ? " (interrupted)" : "") << ".\n";
    }
    if (!silent) {
        std::cerr << "The device did not stop streaming after X.\n";
        status = kExitTransfer;
    }
    if (const int number = g_signal; number != 0 && number != SIGINT) {
        std::cerr << "Stopped by " << SignalName(number);
        if (!lost)
            std::cerr << "; the device's stream "
                      << (silent ? "is stopped" : "may still be running");
        std::cerr << ".\n";
        status = 128 + number;
    }
    return status;
}

} // namespace

void AddRecordCommand(CLI::App& app, Tool& tool) {
    auto* cmd = app.add_subcommand("record", "record live loads until the end, or Ctrl-C");
    auto options = std::make_shared<RecordOptions>();
    auto* frames = cmd->add_option("--frames", options->frames, "stop after N frames")
                       ->check(CLI::PositiveNumber);
    const CLI::Validator secondsRange(
        [](std::string& text) -> std::string {
            double value = 0;
            if (!CLI::detail::lexical_cast(text, value) || !std::isfinite(value) || value <= 0 ||
                value > kMaxSeconds)
                return "must be a number above 0 and at most 604800 (a week)";
            return {};
        },
        "SECONDS");
    auto* seconds =
        cmd->add_option("--seconds", options->seconds, "stop after S seconds")->check(secondsRange);
    frames->excludes(seconds);
    cmd->add_option("--out", options->out, "record file (default: standard output)");
    cmd->add_flag("--progress", options->progress, "show the frame count and total on stderr");
    cmd->callback([&tool, options] { tool.status = RunRecord(tool, *options); });
}

} // namespace tensiq::cli
