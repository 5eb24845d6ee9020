// How long tensiq-cli report takes, and how much memory, for records of an hour at the line's
// 576 frames a second (about two million lines each): the report must read them as a stream.
#include "SteadyLoads.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Twelve ropes around their loads with a little noise, as a settled car gives.
void WriteRecord(const fs::path& path, long frames, int spread, unsigned seed) {
    std::ofstream out(path, std::ios::binary);
    out << "07.12.2026 10:00:00\n";
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-3, 3);
    std::string line;
    char number[16];
    for (long f = 0; f < frames; ++f) {
        line.clear();
        for (int k = 0; k < 12; ++k) {
            const int load = 1000 + (k % 4 - 2) * spread + noise(random);
            line.append(number, static_cast<std::size_t>(
                                    std::snprintf(number, sizeof number, "%d;", load)));
        }
        line += '\n';
        out << line;
    }
}

// Runs the report as a technician's script would and prints its time and peak memory.
int RunReport(const fs::path& dir, const char* what) {
    const std::string found = (dir / "found.txt").string(), left = (dir / "left.txt").string(),
                      params = (dir / "params.json").string(), pdf = (dir / "r.pdf").string(),
                      csv = (dir / "r.csv").string();
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(TENSIQ_CLI, TENSIQ_CLI, "report", "--found", found.c_str(), "--left", left.c_str(),
                "--params", params.c_str(), "--out", pdf.c_str(), "--csv", csv.c_str(),
                "--language", "de", "--unit", "kg", static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::printf("%s: exit %d, %.2f s wall, %.2f s user, %.2f s system, peak memory %.1f MB, "
                "PDF %.1f MB\n",
                what, exitCode, seconds, usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6,
                usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6, usage.ru_maxrss / 1024.0,
                fs::exists(pdf) ? fs::file_size(pdf) / 1e6 : 0.0);
    return exitCode == 0 || exitCode == 1 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const double minutes = argc > 1 ? std::atof(argv[1]) : 60.0;
    const long frames = static_cast<long>(minutes * 60.0 * tensiq::report::kLineFramesPerSecond);
    char pattern[] = "/tmp/tensiq-report-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        return 1;
    const fs::path dir = pattern;
    std::ofstream(dir / "params.json")
        << "{\"fullScaleLoad\": 8000, \"tare\": 450, \"emptyLoadThreshold\": 100, "
           "\"fullLoadThreshold\": 4000, \"overloadThreshold\": 4400, \"slackRopeThreshold\": "
           "200, \"ropeDifference\": 30, \"emptyLoadContact\": 0, \"fullLoadContact\": 1, "
           "\"overloadContact\": 1, \"slackRopeContact\": 0, \"ropeCount\": 12, \"factor\": 2, "
           "\"liveZeroTenths\": 0, \"applyToPayload\": 0, \"sensorType\": 1}";
    std::printf("records at %.0f frames/s, twelve ropes with noise of +-3 kg\n",
                tensiq::report::kLineFramesPerSecond);
    const long shortFrames = static_cast<long>(60 * tensiq::report::kLineFramesPerSecond);
    WriteRecord(dir / "found.txt", shortFrames, 40, 1);
    WriteRecord(dir / "left.txt", frames, 1, 2);
    std::printf("as found %ld lines, as left %ld lines (%.1f MB)\n", shortFrames + 1, frames + 1,
                fs::file_size(dir / "left.txt") / 1e6);
    int failed = RunReport(dir, "as left of an hour");
    WriteRecord(dir / "found.txt", frames, 40, 1);
    failed |= RunReport(dir, "both records of an hour");
    fs::remove_all(dir);
    return failed;
}
