#include "AcquisitionThread.h"
#include "Commands.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>

namespace tensiq::cli {

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) {
    g_interrupted = true;
}

// Counts the frames of the run and ends it after the last one wanted, so the record holds
// exactly that many lines.
class RecordSink : public AcquisitionSink {
public:
    RecordSink(AcquisitionContext& context, long frames, bool progress)
        : m_context(context), m_limit(frames), m_progress(progress) {}

    void OnFrame(const FrameUpdate& update) override {
        const long n = ++m_frames;
        if (m_limit > 0 && n >= m_limit)
            m_context.runFlag = 0;
        if (m_progress) {
            const auto now = std::chrono::steady_clock::now();
            if (now - m_lastShown >= std::chrono::milliseconds(100) || n == m_limit) {
                m_lastShown = now;
                std::fprintf(stderr, "\r%6ld frames  %s   ", n, update.totalText.c_str());
            }
        }
    }
    void OnSynchronisationFailed(const std::string& message) override { Failed(message); }
    void OnConnectionLost(const std::string& message) override { Failed(message); }
    void OnRecordFailed(const std::string& message) override { Failed(message); }
    void Failed(const std::string& message) {
        std::lock_guard lock(m_mutex);
        m_failure = message;
    }
    long Frames() const { return m_frames; }
    std::string Failure() {
        std::lock_guard lock(m_mutex);
        return m_failure;
    }

private:
    AcquisitionContext& m_context;
    const long m_limit;
    const bool m_progress;
    std::atomic<long> m_frames{0};
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

int RunRecord(Tool& tool, const RecordOptions& options) {
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

    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    AcquisitionThread thread(context);
    thread.Start();
    thread.StartRun();
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(options.seconds));
    while (context.runFlag != 0 && !g_interrupted &&
           (options.seconds <= 0 || std::chrono::steady_clock::now() < end))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    thread.StopRun();
    link.StopStreaming();
    link.Close();
    if (options.progress)
        std::cerr << "\n";

    const std::string failure = sink.Failure();
    if (!failure.empty()) {
        std::cerr << failure << "\n";
        return kExitTransfer;
    }
    std::cerr << "Recorded " << sink.Frames() << " frames"
              << (options.out == "-" ? "" : " to " + options.out)
              << (g_interrupted ? " (interrupted)" : "") << ".\n";
    if (options.out != "-" && !std::ifstream(options.out)) {
        std::cerr << "The record " << options.out << " could not be written.\n";
        return kExitUsage;
    }
    return kExitOk;
}

} // namespace

void AddRecordCommand(CLI::App& app, Tool& tool) {
    auto* cmd = app.add_subcommand("record", "record live loads until the end, or Ctrl-C");
    auto options = std::make_shared<RecordOptions>();
    auto* frames = cmd->add_option("--frames", options->frames, "stop after N frames")
                       ->check(CLI::PositiveNumber);
    auto* seconds = cmd->add_option("--seconds", options->seconds, "stop after S seconds")
                        ->check(CLI::PositiveNumber);
    frames->excludes(seconds);
    cmd->add_option("--out", options->out, "record file (default: standard output)");
    cmd->add_flag("--progress", options->progress, "show the frame count and total on stderr");
    cmd->callback([&tool, options] { tool.status = RunRecord(tool, *options); });
}

} // namespace tensiq::cli
