#include "RecordColumns.h"

#include <algorithm>

namespace tensiq {

void RecordColumns::Clear() {
    for (auto& c : m_ropes)
        c.Clear();
    m_total.Clear();
    for (int s = 0; s < kSeriesCount; ++s) {
        m_bucketMin[s].Clear();
        m_bucketMax[s].Clear();
    }
}

void RecordColumns::Append(const std::array<std::int32_t, kRecordRopes>& loads) {
    const bool newBucket = (Frames() & (kBucketSize - 1)) == 0;
    std::int64_t total = 0;
    for (int rope = 0; rope < kRecordRopes; ++rope) {
        m_ropes[rope].PushBack(loads[rope]);
        total += loads[rope];
    }
    m_total.PushBack(total);
    for (int s = 0; s < kSeriesCount; ++s) {
        const std::int64_t value = s == kTotalSeries ? total : loads[s];
        if (newBucket) {
            m_bucketMin[s].PushBack(value);
            m_bucketMax[s].PushBack(value);
        } else {
            const std::int64_t b = m_bucketMin[s].Size() - 1;
            if (value < m_bucketMin[s][b])
                m_bucketMin[s].Set(b, value);
            if (value > m_bucketMax[s][b])
                m_bucketMax[s].Set(b, value);
        }
    }
}

RecordSummary
RecordColumns::Load(const std::string& path, const std::atomic<bool>* cancel,
                    const std::function<void(std::uint64_t, std::uint64_t)>& progress) {
    Clear();
    return ReadRecord(
        path,
        [&](std::int64_t, const std::array<std::int32_t, kRecordRopes>& loads) {
            if (cancel != nullptr && cancel->load(std::memory_order_relaxed))
                return false;
            Append(loads);
            return true;
        },
        progress);
}

ValueRange RecordColumns::Extent(int series, std::int64_t first, std::int64_t last) const {
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, Frames());
    ValueRange range{INT64_MAX, INT64_MIN};
    if (first >= last)
        return {};
    auto scan = [&](const auto* p, const auto* end) {
        for (; p != end; ++p) {
            range.min = std::min<std::int64_t>(range.min, *p);
            range.max = std::max<std::int64_t>(range.max, *p);
        }
    };
    auto raw = [&](std::int64_t from, std::int64_t to) {
        if (series == kTotalSeries)
            m_total.ForEachSpan(from, to, scan);
        else
            m_ropes[series].ForEachSpan(from, to, scan);
    };
    const std::int64_t firstWhole = (first + kBucketSize - 1) >> kBucketBits;
    const std::int64_t lastWhole = last >> kBucketBits; // buckets [firstWhole, lastWhole)
    if (firstWhole >= lastWhole) {
        raw(first, last);
        return range;
    }
    raw(first, firstWhole << kBucketBits);
    m_bucketMin[series].ForEachSpan(firstWhole, lastWhole, [&](const auto* p, const auto* end) {
        for (; p != end; ++p)
            range.min = std::min(range.min, *p);
    });
    m_bucketMax[series].ForEachSpan(firstWhole, lastWhole, [&](const auto* p, const auto* end) {
        for (; p != end; ++p)
            range.max = std::max(range.max, *p);
    });
    raw(lastWhole << kBucketBits, last);
    return range;
}

} // namespace tensiq
