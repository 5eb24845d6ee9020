#include "CliRecordFigures.h"

#include "ChildProcess.h"
#include "Median.h"
#include "ProcessRuntime.h"
#include "Simulator.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace tensiq::bench {

namespace {

constexpr double kLineFrames = 230400.0 / 10 / 40;

// A fresh simulated device paced at the line rate for each run, so no run inherits a stream.
class PacedDevice {
public:
    explicit PacedDevice(const std::string& dir) : m_sim(dir) {
        sim::DeviceConfig config = sim::DeviceConfig::Default();
        config.frameRate = kLineFrames;
        m_sim.AddDevice(1, config);
        m_sim.SetPacing(true);
        m_sim.Start();
    }
    std::string Path() const { return m_sim.LinkPath(1); }

private:
    sim::Simulator m_sim;
};

std::vector<std::string> RecordCommand(const std::string& cli, const std::string& port, long frames,
                                       const std::string& out) {
    return {cli, "--port", port, "record", "--frames", std::to_string(frames), "--out", out};
}

// The "total" line of strace -c: percent, seconds, usecs/call, calls, [errors,] total.
long StraceCalls(const std::string& file) {
    std::ifstream in(file);
    long calls = -1;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string w; fields >> w;)
            f.push_back(w);
        if (f.size() >= 5 && f.back() == "total")
            calls = std::stol(f[3]);
    }
    return calls;
}

// The event total of a callgrind output file.
double CallgrindInstructions(const std::string& file) {
    std::ifstream in(file);
    double total = -1;
    for (std::string line; std::getline(in, line);) {
        for (const char* key : {"summary: ", "totals: "})
            if (line.rfind(key, 0) == 0)
                total = std::stod(line.substr(std::string(key).size()));
    }
    return total;
}

// record's CPU per frame over a stretch of its steady stream, read from outside while it runs,
// so that neither its start nor its end is in the figure (the difference of two whole runs
// carries the noise of two start-ups). Negative when the run failed or the stretch did not lie
// within it.
double SteadyRecordCpuPerFrameUs(const std::string& folder, const std::string& cli,
                                 const std::string& out, const std::string& errors) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kWarmUp = std::chrono::milliseconds(1500);
    constexpr auto kStretch = std::chrono::seconds(4);
    constexpr auto kAfter = std::chrono::milliseconds(1500);
    const long frames = static_cast<long>(
        std::chrono::duration<double>(kWarmUp + kStretch + kAfter).count() * kLineFrames);
    PacedDevice device(folder);
    double cpu = -1, seconds = 0;
    Clock::time_point stretchEnd;
    const ChildResult r =
        RunChild(RecordCommand(cli, device.Path(), frames, out), errors, [&](pid_t pid) {
            std::this_thread::sleep_for(kWarmUp);
            const double cpu0 = ProcessRuntimeSeconds(pid);
            const Clock::time_point t0 = Clock::now();
            std::this_thread::sleep_for(kStretch);
            const double cpu1 = ProcessRuntimeSeconds(pid);
            stretchEnd = Clock::now();
            seconds = std::chrono::duration<double>(stretchEnd - t0).count();
            if (cpu0 >= 0 && cpu1 >= cpu0)
                cpu = cpu1 - cpu0;
        });
    // A run that ended within the stretch would have its idle end in it.
    if (!r.started || r.status != 0 || cpu < 0 || Clock::now() - stretchEnd < kAfter / 3)
        return -1;
    return cpu * 1e6 / (seconds * kLineFrames);
}

} // namespace

BareReaderFigures MeasureBareReader(const std::string& dir, const std::string& bareReader,
                                    double seconds, const std::string& recordFile) {
    BareReaderFigures f;
    PacedDevice device(dir + "/bare-ports");
    const long frames = static_cast<long>(seconds * kLineFrames);
    std::vector<std::string> argv{bareReader, device.Path(), "300", std::to_string(frames)};
    if (!recordFile.empty())
        argv.push_back(recordFile);
    const ChildResult r = RunChild(argv);
    std::istringstream in(r.output);
    if (!(in >> f.frames >> f.cpuPerFrameUs))
        f.failure = "the bare reader did not report";
    return f;
}

CliRecordFigures MeasureCliRecord(const std::string& dir, const std::string& cli,
                                  const std::string& bareReader, int rounds) {
    CliRecordFigures f;
    int runs = 0;
    const auto fresh = [&] { return dir + "/cli-ports-" + std::to_string(++runs); };
    const std::string out = dir + "/cli-record.txt";
    const std::string errors = dir + "/cli-errors.txt";

    // Runs record for each frame count with an optional tool in front; the tool's figure per
    // frame from the difference.
    const auto perFrame = [&](long shortRun, long longRun, const std::vector<std::string>& tool,
                              auto figure) {
        double value[2] = {0, 0};
        const long counts[2] = {shortRun, longRun};
        for (int i = 0; i < 2; ++i) {
            PacedDevice device(fresh());
            std::vector<std::string> argv = tool;
            for (const std::string& a : RecordCommand(cli, device.Path(), counts[i], out))
                argv.push_back(a);
            const ChildResult r = RunChild(argv, errors);
            if (!r.started || r.status != 0) {
                f.failure = "record failed (" + argv.front() + "), see " + errors;
                return -1.0;
            }
            value[i] = figure(r);
            if (value[i] < 0)
                return -1.0;
        }
        return (value[1] - value[0]) / static_cast<double>(longRun - shortRun);
    };

    // Each round's ratio compares two runs minutes apart at most, which meet the same machine.
    std::vector<double> record, bare, ratio, recorder, recorderRatio, ratioToRecorder;
    for (int round = 0; round < rounds && f.failure.empty(); ++round) {
        const std::string folder = fresh();
        std::filesystem::create_directories(folder);
        const BareReaderFigures alone = MeasureBareReader(folder, bareReader, 2500 / kLineFrames);
        if (!alone.failure.empty()) {
            f.failure = alone.failure;
            break;
        }
        std::filesystem::create_directories(folder + "/recorder");
        const BareReaderFigures least =
            MeasureBareReader(folder + "/recorder", bareReader, 2500 / kLineFrames, out);
        if (!least.failure.empty()) {
            f.failure = "the bare recorder: " + least.failure;
            break;
        }
        const double cpu = SteadyRecordCpuPerFrameUs(fresh(), cli, out, errors);
        if (cpu < 0 || alone.cpuPerFrameUs <= 0 || least.cpuPerFrameUs <= 0)
            continue;
        record.push_back(cpu);
        bare.push_back(alone.cpuPerFrameUs);
        ratio.push_back(cpu / alone.cpuPerFrameUs);
        recorder.push_back(least.cpuPerFrameUs);
        recorderRatio.push_back(least.cpuPerFrameUs / alone.cpuPerFrameUs);
        ratioToRecorder.push_back(cpu / least.cpuPerFrameUs);
    }
    f.rounds = static_cast<int>(ratio.size());
    if (f.rounds == 0 && f.failure.empty())
        f.failure = "record's CPU could not be measured in any round, see " + errors;
    if (f.rounds > 0) {
        f.cpuPerFrameUs = Median(record);
        f.bareCpuPerFrameUs = Median(bare);
        f.ratio = MeanWithInterval(ratio);
        f.bareRecorderCpuPerFrameUs = Median(recorder);
        f.recorderRatio = MeanWithInterval(recorderRatio);
        f.ratioToRecorder = MeanWithInterval(ratioToRecorder);
    }

    if (const std::string strace = FindProgram("strace"); strace.empty())
        f.syscallNote = "strace is not installed: not counted";
    else {
        const std::string file = dir + "/strace.txt";
        f.syscallsPerFrame =
            perFrame(500, 3000, {strace, "-f", "-c", "-o", file},
                     [&](const ChildResult&) { return static_cast<double>(StraceCalls(file)); });
    }

    if (const std::string valgrind = FindProgram("valgrind"); valgrind.empty())
        f.instructionNote = "valgrind is not installed: not counted";
    else {
        const std::string file = dir + "/callgrind.out";
        f.instructionsPerFrame =
            perFrame(1000, 5000, {valgrind, "--tool=callgrind", "--callgrind-out-file=" + file},
                     [&](const ChildResult&) { return CallgrindInstructions(file); });
    }
    return f;
}

} // namespace tensiq::bench
