// Soak: the command line's record and the real window, each against the simulated device at the
// line limit for a long time with faults on the line, then through hang-ups with the device
// coming back at another port. Every record must hold every valid frame in order; memory,
// descriptors and threads must stay flat.
// Usage: tensiq-soak [minutes, default 10] [cli|window, default both]
// With both, the minutes are shared out equally, so the whole run takes about the minutes given.
#include "CliSoak.h"
#include "SoakRecord.h"
#include "WindowSoak.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace tensiq::soak;

namespace {

std::string Minutes(double minutes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f min", minutes);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const double minutes = argc > 1 ? std::atof(argv[1]) : 10.0;
    const std::string mode = argc > 2 ? argv[2] : "both";
    const bool cli = mode == "both" || mode == "cli";
    const bool window = mode == "both" || mode == "window";
    if (!(minutes > 0) || (!cli && !window) || argc > 3) {
        std::fprintf(stderr, "usage: %s [minutes, default 10] [cli|window, default both]\n",
                     argv[0]);
        return 2;
    }
    const double share = cli && window ? minutes / 2 : minutes;
    const std::string root =
        (std::filesystem::temp_directory_path() / ("tensiq-soak-" + std::to_string(getpid())))
            .string();
    std::filesystem::create_directories(root);

    const std::string halves =
        cli && window ? "tensiq-cli record, then the window, " + Minutes(share) + " each"
        : cli         ? "tensiq-cli record"
                      : "the window";
    std::printf("soak: %s: %s; each a steady run for 60 %% of its time, then hang-ups after "
                "%d frames until its time is up\n",
                Minutes(minutes).c_str(), halves.c_str(), kHangUpAfterFrames);
    std::printf("soak: faults in the steady runs every %d (marker), %d (terminator), %d (dropped "
                "byte) frames; simulator paced at %.0f frames/s\n",
                kBadMarkerEvery, kBadTerminatorEvery, kDropByteEvery, kLineFrames);
    std::fflush(stdout);

    // The command line first: the window's half starts threads that a later fork must not copy.
    bool cliOk = true, windowOk = true;
    if (cli)
        cliOk = RunCliSoak(share, root);
    if (window)
        windowOk = RunWindowSoak(share, root, argc, argv);
    std::filesystem::remove_all(root);
    if (cli && window)
        std::printf("\ncommand line: %s, window: %s", cliOk ? "passed" : "FAILED",
                    windowOk ? "passed" : "FAILED");
    std::printf("\nsoak: %s\n", cliOk && windowOk ? "passed" : "FAILED");
    return cliOk && windowOk ? 0 : 1;
}
