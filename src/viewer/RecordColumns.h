#pragma once
// A saved record held as one column per rope and one for the total, with the smallest and
// largest value of every bucket of frames kept beside them, so that the extremes of any range
// are found without visiting each of its frames.
#include "ChunkedColumn.h"
#include "RecordReader.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace tensiq {

inline constexpr int kTotalSeries = kRecordRopes; // the series after the twelve ropes
inline constexpr int kSeriesCount = kRecordRopes + 1;

struct ValueRange {
    std::int64_t min = 0;
    std::int64_t max = -1; // max < min: no frame
    bool Empty() const { return max < min; }
};

class RecordColumns {
public:
    static constexpr int kBucketBits = 6;
    static constexpr std::int64_t kBucketSize = std::int64_t{1} << kBucketBits;

    // Reads the record, replacing what was held. A set cancel flag stops the read (status
    // Cancelled); progress gets bytes read and the file's size.
    RecordSummary Load(const std::string& path, const std::atomic<bool>* cancel = nullptr,
                       const std::function<void(std::uint64_t, std::uint64_t)>& progress = {});
    // Appends one frame; Load uses it, and so can tests.
    void Append(const std::array<std::int32_t, kRecordRopes>& loads);
    void Clear();

    std::int64_t Frames() const { return m_total.Size(); }
    // frame counts from 0 here; series 0-11 the ropes, kTotalSeries the total.
    std::int64_t Value(int series, std::int64_t frame) const {
        return series == kTotalSeries ? m_total[frame] : m_ropes[series][frame];
    }
    // Smallest and largest value of the series over frames [first, last).
    ValueRange Extent(int series, std::int64_t first, std::int64_t last) const;

private:
    ChunkedColumn<std::int32_t> m_ropes[kRecordRopes];
    ChunkedColumn<std::int64_t> m_total;
    ChunkedColumn<std::int64_t> m_bucketMin[kSeriesCount];
    ChunkedColumn<std::int64_t> m_bucketMax[kSeriesCount];
};

} // namespace tensiq
