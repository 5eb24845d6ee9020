// How long the memory-image write takes against the simulator: the chunks paced against the
// clock (the program's WriteImage) beside the same transfer with a 1 ms sleep after every chunk,
// alternating in one run. The stated pauses add up to 2.2 s (three of 50 ms, 2048 of 1 ms).
#include "DeviceLink.h"
#include "Simulator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tensiq;
using Clock = std::chrono::steady_clock;

namespace {

// The write as it was: a 1 ms sleep after each four-byte chunk, the pauses summed.
bool WriteImageSummingSleeps(DeviceLink& link) {
    if (!link.Quieten())
        return false;
    Pause(kPauseMs);
    const std::uint8_t prefix = cmd::kPrefix, command = cmd::kImageWrite;
    link.Port().Write(&prefix, 1);
    Pause(kPauseMs);
    std::vector<std::uint8_t> wire(kImageWireSize, 0xFF);
    std::copy(link.Image().begin(), link.Image().end(), wire.begin());
    link.Port().Write(&command, 1);
    Pause(kPauseMs);
    for (std::size_t at = 0; at < kImageWireSize; at += kImageChunk) {
        link.Port().Write(wire.data() + at, static_cast<int>(kImageChunk));
        Pause(1);
    }
    if (!link.QueueWait(1))
        return false;
    std::uint8_t ack = 0;
    return link.Port().Read(&ack, 1) == 1 && ack == cmd::kImageWrite;
}

struct Stats {
    std::vector<double> seconds;
    int failures = 0;
    double Min() const { return *std::min_element(seconds.begin(), seconds.end()); }
    double Max() const { return *std::max_element(seconds.begin(), seconds.end()); }
    double Mean() const {
        double sum = 0;
        for (double s : seconds)
            sum += s;
        return sum / static_cast<double>(seconds.size());
    }
};

template <typename F> void Time(Stats& stats, F write) {
    const auto start = Clock::now();
    const bool ok = write();
    stats.seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    stats.failures += ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    if (rounds < 1) {
        std::fprintf(stderr, "usage: %s [rounds, default 5]\n", argv[0]);
        return 2;
    }
    const std::string dir = (std::filesystem::temp_directory_path() /
                             ("tensiq-image-bench-" + std::to_string(getpid())))
                                .string();
    std::filesystem::create_directories(dir);
    ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
    Stats paced, summed;
    {
        sim::Simulator sim(dir + "/ports");
        sim.AddDevice(1);
        sim.SetPacing(true);
        sim.Start();
        DeviceLink link;
        if (!link.OpenDevice(sim.LinkPath(1)) || !link.ReadImage()) {
            std::fprintf(stderr, "the simulated device did not give its image\n");
            return 1;
        }
        for (int i = 0; i < rounds; ++i) {
            Time(summed, [&] { return WriteImageSummingSleeps(link); });
            Time(paced, [&] { return link.WriteImage(); });
        }
        link.Close();
    }
    std::filesystem::remove_all(dir);
    std::printf("image write, %d rounds each, simulator paced at 230400 baud\n\n", rounds);
    std::printf("%-28s %8s %8s %8s %9s\n", "", "mean s", "min s", "max s", "failures");
    for (const auto& [name, s] :
         {std::pair<const char*, const Stats&>{"1 ms sleep after each", summed},
          {"paced against the clock", paced}})
        std::printf("%-28s %8.3f %8.3f %8.3f %9d\n", name, s.Mean(), s.Min(), s.Max(), s.failures);
    std::printf("\nstated pauses: 2.200 s\n");
    return 0;
}
