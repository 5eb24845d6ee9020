// Soak: tensiq-cli record against the simulator at the line limit for a long time, with a bad
// marker, a bad terminator and a dropped byte every few hundred frames. Every record line must
// come from a valid frame, in order, with no valid frame missing except where a fault made the
// stream restart; memory, descriptors and threads of the recording process must stay flat.
// Then, over and over: the line hangs up in the middle of a run and the device comes back at
// another port; every run's record is complete up to its end and every new run finds the device.
#include "DeviceModel.h"
#include "Simulator.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace tensiq;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kLineFrames = 230400.0 / 10 / 40;
// Multiples of 150, so two faulty frames are never a few frames apart: a faulty frame still on the
// line while the stream restarts leaves no 0x0D in the first 41 bytes, and the synchronisation
// then fails as it must.
constexpr int kBadMarkerEvery = 300;
constexpr int kBadTerminatorEvery = 450;
constexpr int kDropByteEvery = 750;
constexpr int kHangUpAfterFrames = 2500; // about 4.3 s into a run
const std::array<std::int16_t, 12> kReadings = {486, 478, 493, 502, 510, 497,
                                                540, 536, 548, 505, 0,   0};

bool Faulted(long n) {
    return n % kBadMarkerEvery == 0 || n % kBadTerminatorEvery == 0 || n % kDropByteEvery == 0;
}

sim::DeviceConfig SoakDevice(bool faults, int hangUpAfter) {
    sim::DeviceConfig c = sim::DeviceConfig::Default();
    c.frameRate = kLineFrames;
    c.ripple = false;
    c.readings = kReadings;
    c.numberedReadings = true;
    if (faults) {
        c.faults.badMarkerEvery = kBadMarkerEvery;
        c.faults.badTerminatorEvery = kBadTerminatorEvery;
        c.faults.dropByteEvery = kDropByteEvery;
    }
    c.faults.hangUpAfterFrames = hangUpAfter;
    return c;
}

struct RecordCheck {
    long lines = 0, corrupted = 0, outOfOrder = 0, gaps = 0, unexplainedGaps = 0;
    long first = -1, last = -1;
    bool header = false;
    std::vector<std::pair<long, long>> unexplained; // the first few gaps with no fault in them
};

// Every line: ten steady loads, then a frame number; numbers rise, and a gap holds a fault.
RecordCheck CheckRecord(const std::string& path, bool faults) {
    RecordCheck r;
    std::ifstream in(path);
    std::string line;
    r.header = static_cast<bool>(std::getline(in, line)) && !line.empty();
    while (std::getline(in, line)) {
        ++r.lines;
        std::vector<long> values;
        std::size_t at = 0;
        bool good = true;
        while (at < line.size()) {
            char* end = nullptr;
            const long v = std::strtol(line.c_str() + at, &end, 10);
            if (end == line.c_str() + at || *end != ';') {
                good = false;
                break;
            }
            values.push_back(v);
            at = static_cast<std::size_t>(end - line.c_str()) + 1;
        }
        if (!good || values.size() != 12) {
            ++r.corrupted;
            continue;
        }
        for (int k = 0; k < 10; ++k)
            good = good && values[k] == kReadings[k];
        const long n = sim::FrameNumberFromReadings(static_cast<int>(values[10]),
                                                    static_cast<int>(values[11]));
        if (!good || n < 0 || (faults && Faulted(n))) {
            ++r.corrupted;
            continue;
        }
        if (r.last >= 0) {
            if (n <= r.last) {
                ++r.outOfOrder;
            } else if (n != r.last + 1) {
                ++r.gaps;
                bool explained = false;
                for (long f = r.last + 1; f < n && !explained; ++f)
                    explained = faults && Faulted(f);
                if (!explained && ++r.unexplainedGaps <= 5)
                    r.unexplained.emplace_back(r.last, n);
            }
        } else {
            r.first = n;
        }
        r.last = std::max(r.last, n);
    }
    return r;
}

struct ProcessSample {
    long rssKb = -1;
    int threads = -1;
    int descriptors = -1;
};

ProcessSample Sample(pid_t pid) {
    ProcessSample s;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:")
            status >> s.rssKb;
        else if (key == "Threads:")
            status >> s.threads;
        std::string rest;
        std::getline(status, rest);
    }
    if (DIR* dir = ::opendir(("/proc/" + std::to_string(pid) + "/fd").c_str())) {
        s.descriptors = 0;
        while (const dirent* e = ::readdir(dir))
            if (e->d_name[0] != '.')
                ++s.descriptors;
        ::closedir(dir);
    }
    return s;
}

class Cli {
public:
    Cli(const std::string& root) {
        m_env = {"TENSIQ_PORT_DIR=" + root + "/ports", "XDG_CONFIG_HOME=" + root + "/config",
                 "XDG_DATA_HOME=" + root + "/data", "LANG=C", "PATH=/usr/bin:/bin"};
    }
    pid_t Start(const std::vector<std::string>& args, const std::string& errPath) {
        std::vector<std::string> argv{TENSIQ_CLI};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> a, e;
        for (auto& s : argv)
            a.push_back(s.data());
        a.push_back(nullptr);
        for (auto& s : m_env)
            e.push_back(s.data());
        e.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        if (posix_spawn(&pid, TENSIQ_CLI, &actions, nullptr, a.data(), e.data()) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }
    // The exit status, or -1 when it had to be killed after timeout.
    static int Wait(pid_t pid, std::chrono::seconds timeout) {
        const auto end = Clock::now() + timeout;
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (Clock::now() > end) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    std::vector<std::string> m_env;
};

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line, all;
    while (std::getline(in, line))
        if (!line.empty() && line.find_first_not_of(" \r") != std::string::npos)
            all = line; // the last line says how it ended
    return all;
}

} // namespace

int main(int argc, char** argv) {
    const double minutes = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (!(minutes > 0)) {
        std::fprintf(stderr, "usage: %s [minutes, default 10]\n", argv[0]);
        return 2;
    }
    const auto steadySeconds = static_cast<long>(minutes * 60 * 0.6);
    const auto cycleEnd = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(minutes * 60));
    const std::string root =
        (std::filesystem::temp_directory_path() / ("tensiq-soak-" + std::to_string(getpid())))
            .string();
    std::filesystem::create_directories(root);
    Cli cli(root);
    bool ok = true;

    std::printf("soak: %.1f min; faults every %d (marker), %d (terminator), %d (dropped byte) "
                "frames; simulator paced at %.0f frames/s\n",
                minutes, kBadMarkerEvery, kBadTerminatorEvery, kDropByteEvery, kLineFrames);
    std::fflush(stdout);
    {
        sim::Simulator sim(root + "/ports");
        sim.SetPacing(true);
        sim.AddSilent(1);
        sim.AddDevice(2, SoakDevice(true, 0));
        sim.Start();
        const std::string record = root + "/steady.txt";
        const pid_t pid =
            cli.Start({"record", "--seconds", std::to_string(steadySeconds), "--out", record},
                      root + "/steady.err");
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const ProcessSample first = Sample(pid);
        ProcessSample last = first, peak = first;
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            const ProcessSample s = Sample(pid);
            if (s.rssKb > 0) {
                last = s;
                peak.rssKb = std::max(peak.rssKb, s.rssKb);
                peak.threads = std::max(peak.threads, s.threads);
                peak.descriptors = std::max(peak.descriptors, s.descriptors);
            }
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        const int exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        long sent = 0, starts = 0;
        sim.With<sim::DeviceModel>(2, [&](sim::DeviceModel& d) {
            sent = d.Counters().framesSent;
            starts = d.Counters().streamStarts;
        });
        const RecordCheck r = CheckRecord(record, true);
        const long faulted = r.last < 0 ? 0
                                        : r.last / kBadMarkerEvery + r.last / kBadTerminatorEvery +
                                              r.last / kDropByteEvery;
        std::printf("\nrecord at the line limit, %ld s, exit status %d (%s)\n", steadySeconds, exit,
                    FirstLine(root + "/steady.err").c_str());
        std::printf("  frames sent %ld (about %ld with a fault), stream starts %ld\n", sent,
                    faulted, starts);
        std::printf("  record lines %ld, date line %s, corrupted %ld, out of order %ld\n", r.lines,
                    r.header ? "yes" : "NO", r.corrupted, r.outOfOrder);
        std::printf("  gaps %ld, every one at a fault: %s\n", r.gaps,
                    r.unexplainedGaps == 0 ? "yes" : "NO");
        for (const auto& [from, to] : r.unexplained)
            std::printf("  no fault between frame %ld and frame %ld (%ld unexplained gaps)\n", from,
                        to, r.unexplainedGaps);
        std::printf(
            "  memory (VmRSS) %ld kB at 10 s, %ld kB at the end, peak %ld kB: growth %ld kB\n",
            first.rssKb, last.rssKb, peak.rssKb, last.rssKb - first.rssKb);
        std::printf("  threads %d -> %d (peak %d), descriptors %d -> %d (peak %d)\n", first.threads,
                    last.threads, peak.threads, first.descriptors, last.descriptors,
                    peak.descriptors);
        std::fflush(stdout);
        ok = ok && exit == 0 && r.header && r.corrupted == 0 && r.outOfOrder == 0 &&
             r.unexplainedGaps == 0 && r.lines > 0 && last.rssKb - first.rssKb < 1024 &&
             last.threads == first.threads && last.descriptors == first.descriptors;
    }

    // Hang-ups: the device hangs up after kHangUpAfterFrames, then comes back at the next port.
    std::printf("\nhang-up mid-run, device back at another port, new run; until the time is up\n");
    std::fflush(stdout);
    int cycles = 0, complete = 0, found = 0, lostReported = 0;
    {
        sim::Simulator sim(root + "/ports");
        sim.SetPacing(true);
        sim.AddSilent(1);
        sim.Start();
        for (int port = 2; port <= 255 && (cycles == 0 || Clock::now() < cycleEnd); ++port) {
            sim.AddRole(port,
                        std::make_unique<sim::DeviceModel>(SoakDevice(false, kHangUpAfterFrames)));
            const std::string record = root + "/run" + std::to_string(port) + ".txt";
            const std::string err = root + "/run" + std::to_string(port) + ".err";
            const pid_t pid = cli.Start({"record", "--out", record}, err);
            const int exit = Cli::Wait(pid, std::chrono::seconds(60));
            const RecordCheck r = CheckRecord(record, false);
            ++cycles;
            const bool runFound = r.lines > 0;
            // The frames still on the line when it went dead are lost with it.
            const bool runComplete = r.header && r.corrupted == 0 && r.outOfOrder == 0 &&
                                     r.gaps == 0 && r.last >= kHangUpAfterFrames - 4;
            const std::string how = FirstLine(err);
            const bool reported = exit != 0 && exit != -1 && !how.empty();
            found += runFound ? 1 : 0;
            complete += runComplete ? 1 : 0;
            lostReported += reported ? 1 : 0;
            std::printf(
                "  port %3d: exit %d, %ld lines (frames %ld to %ld, %ld corrupted, %ld gaps), "
                "%s; \"%s\"\n",
                port, exit, r.lines, r.first, r.last, r.corrupted, r.gaps,
                runComplete ? "complete" : "INCOMPLETE", how.c_str());
            std::fflush(stdout);
        }
    }
    std::printf("  %d runs: device found in %d, record complete in %d, hang-up reported in %d\n",
                cycles, found, complete, lostReported);
    ok = ok && cycles > 0 && found == cycles && complete == cycles && lostReported == cycles;
    std::filesystem::remove_all(root);
    std::printf("\nsoak: %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
