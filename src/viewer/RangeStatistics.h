#pragma once
// Mean, extremes and population standard deviation of each rope over a range of frames, and
// the spread of the rope means; fed one frame at a time, so a command can stream a record.
#include "RecordReader.h"

#include <array>
#include <cstdint>

namespace tensiq {

struct SeriesStatistics {
    double mean = 0;
    std::int64_t min = 0;
    std::int64_t max = 0;
    double std = 0; // population standard deviation
};

struct RangeSummary {
    std::int64_t frames = 0;
    std::array<SeriesStatistics, kRecordRopes> ropes{};
    SeriesStatistics total;
    // The largest minus the smallest mean among the ropes whose mean is not 0, and that in %
    // of those ropes' mean; 0 with fewer than two such ropes.
    double spreadKg = 0;
    double spreadPercent = 0;
    int ropesInSpread = 0;
};

class RangeStatistics {
public:
    void Add(const std::array<std::int32_t, kRecordRopes>& loads);
    RangeSummary Summary() const;

private:
    struct Sums {
        __int128 sum = 0;
        __int128 squares = 0; // exact: doubles would lose the small variance of large loads
        std::int64_t min = INT64_MAX;
        std::int64_t max = INT64_MIN;
        void Add(std::int64_t v);
        SeriesStatistics Of(std::int64_t n) const;
    };
    std::int64_t m_frames = 0;
    std::array<Sums, kRecordRopes> m_ropes{};
    Sums m_total;
};

} // namespace tensiq
