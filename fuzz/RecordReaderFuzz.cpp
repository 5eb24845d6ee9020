// Any bytes as a record file: the reader never crashes, numbers its frames from 1 without a
// gap, names the line after the last whole frame when it stops, and a record it reads as
// complete holds, line by line, the numbers a plain split at ';' finds.
#include "RecordReader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

using namespace tensiq;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int fd = ::memfd_create("record", 0);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    std::string written;
    std::int64_t expected = 1;
    std::uint64_t lastDone = 0;
    const RecordSummary summary = ReadRecord(
        path,
        [&](std::int64_t frame, const std::array<std::int32_t, kRecordRopes>& loads) {
            if (frame != expected++)
                std::abort();
            for (const std::int32_t load : loads)
                written += std::to_string(load) + ';';
            written += '\n';
            return true;
        },
        [&](std::uint64_t done, std::uint64_t total) {
            if (done < lastDone || done > total)
                std::abort();
            lastDone = done;
        });
    if (summary.frames != expected - 1)
        std::abort();
    switch (summary.status) {
    case RecordStatus::Complete: {
        const std::string input(reinterpret_cast<const char*>(data), size);
        if (input.find('\r') == std::string::npos && input.rfind("\xEF\xBB\xBF", 0) != 0) {
            // Lines after the date, each field read with strtoll, written back as numbers.
            std::string expected;
            std::size_t at = input.find('\n');
            if (at != std::string::npos && input.substr(0, at) != summary.dateLine)
                std::abort();
            while (at != std::string::npos && at + 1 < input.size()) {
                const std::size_t end = std::min(input.find('\n', at + 1), input.size());
                const std::string line = input.substr(at + 1, end - at - 1);
                std::size_t field = 0;
                for (int k = 0; k < kRecordRopes; ++k) {
                    const std::size_t semi = line.find(';', field);
                    if (semi == std::string::npos)
                        std::abort();
                    expected +=
                        std::to_string(std::strtoll(line.c_str() + field, nullptr, 10)) + ';';
                    field = semi + 1;
                }
                if (field != line.size())
                    std::abort();
                expected += '\n';
                at = end < input.size() ? end : std::string::npos;
            }
            if (expected != written)
                std::abort();
        }
        break;
    }
    case RecordStatus::StoppedAtBadLine:
        if (summary.problem.line != summary.frames + 2 || summary.problem.what.empty())
            std::abort();
        break;
    case RecordStatus::NotARecord:
        if (summary.problem.line != 1 || summary.frames != 0)
            std::abort();
        break;
    default:
        std::abort();
    }
    return 0;
}
