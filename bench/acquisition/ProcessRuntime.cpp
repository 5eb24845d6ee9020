#include "ProcessRuntime.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace tensiq::bench {

double ProcessRuntimeSeconds(pid_t pid) {
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    double total = 0;
    bool any = false;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        // schedstat: nanoseconds on the processor, nanoseconds waiting for it, time slices.
        std::ifstream in(task.path() / "schedstat");
        long long ns = 0;
        if (in >> ns) {
            total += static_cast<double>(ns) / 1e9;
            any = true;
        }
    }
    return !error && any ? total : -1;
}

} // namespace tensiq::bench
