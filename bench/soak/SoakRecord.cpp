#include "SoakRecord.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace tensiq::soak {

bool Faulted(long frame) {
    return frame % kBadMarkerEvery == 0 || frame % kBadTerminatorEvery == 0 ||
           frame % kDropByteEvery == 0;
}

long FaultedUpTo(long last) {
    long n = 0;
    for (long f = 1; f <= last; ++f)
        n += Faulted(f) ? 1 : 0;
    return n;
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

bool RecordCheck::Sound() const {
    return header && lines > 0 && corrupted == 0 && outOfOrder == 0 && unexplainedGaps == 0;
}

bool RecordCheck::CompleteToHangUp(long hangUp, bool faults) const {
    if (!Sound() || (!faults && gaps > 0))
        return false;
    if (last >= hangUp - kLostAtHangUp)
        return true;
    for (long f = last + 1; faults && f <= hangUp; ++f)
        if (Faulted(f))
            return hangUp - f <= kRestartFrames;
    return false;
}

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
                r.missing += n - r.last - 1;
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

void PrintRecordCheck(const RecordCheck& r) {
    std::printf("  record lines %ld (frames %ld to %ld), date line %s, corrupted %ld, out of order "
                "%ld\n",
                r.lines, r.first, r.last, r.header ? "yes" : "NO", r.corrupted, r.outOfOrder);
    std::printf("  gaps %ld (%ld frames left out), every one at a fault: %s\n", r.gaps, r.missing,
                r.unexplainedGaps == 0 ? "yes" : "NO");
    for (const auto& [from, to] : r.unexplained)
        std::printf("  no fault between frame %ld and frame %ld (%ld unexplained gaps)\n", from, to,
                    r.unexplainedGaps);
}

} // namespace tensiq::soak
