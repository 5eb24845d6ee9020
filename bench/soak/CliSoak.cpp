// tensiq-cli record against the simulator at the line limit, with a bad marker, a bad
// terminator and a dropped byte every few hundred frames; memory, descriptors and threads of the
// recording process must stay flat. Then, over and over: the line hangs up in the middle of a
// run and the device comes back at another port; every run's record is complete up to its end
// and every new run finds the device.
#include "CliSoak.h"

#include "ProcessSample.h"
#include "Simulator.h"
#include "SoakRecord.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tensiq::soak {

namespace {

using Clock = std::chrono::steady_clock;

class Cli {
public:
    explicit Cli(const std::string& root) {
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

// The last line that is not blank: it says how the run ended.
std::string LastLine(const std::string& path) {
    std::ifstream in(path);
    std::string line, all;
    while (std::getline(in, line))
        if (!line.empty() && line.find_first_not_of(" \r") != std::string::npos)
            all = line;
    return all;
}

} // namespace

bool RunCliSoak(double minutes, const std::string& root) {
    const auto steadySeconds = static_cast<long>(minutes * 60 * 0.6);
    const auto cycleEnd = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(minutes * 60));
    Cli cli(root);
    bool ok = true;
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
        const auto started = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        SampleSeries samples;
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            // Not in its last seconds, when it lets its record and port go on its way out.
            if (Clock::now() - started < std::chrono::seconds(steadySeconds - 2))
                samples.Add(Sample(pid));
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        const int exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        long sent = 0, starts = 0;
        sim.With<sim::DeviceModel>(2, [&](sim::DeviceModel& d) {
            sent = d.Counters().framesSent;
            starts = d.Counters().streamStarts;
        });
        const RecordCheck r = CheckRecord(record, true);
        std::printf("\ncli: record at the line limit, %ld s, exit status %d (%s)\n", steadySeconds,
                    exit, LastLine(root + "/steady.err").c_str());
        std::printf("  frames sent %ld (%ld with a fault), stream starts %ld\n", sent,
                    FaultedUpTo(sent), starts);
        PrintRecordCheck(r);
        samples.Print("at 10 s");
        std::fflush(stdout);
        ok = ok && exit == 0 && r.Sound() && samples.Flat(1024);
    }

    // Hang-ups: the device hangs up after kHangUpAfterFrames, then comes back at the next port.
    std::printf("\ncli: hang-up mid-run, device back at another port, new run; until the time is "
                "up\n");
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
            const bool runComplete = r.CompleteToHangUp(kHangUpAfterFrames, false);
            const std::string how = LastLine(err);
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
    return ok && cycles > 0 && found == cycles && complete == cycles && lostReported == cycles;
}

} // namespace tensiq::soak
