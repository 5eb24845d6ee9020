#include "RangeStatistics.h"

#include <algorithm>
#include <cmath>

namespace tensiq {

void RangeStatistics::Sums::Add(std::int64_t v) {
    sum += v;
    squares += static_cast<__int128>(v) * v;
    min = std::min(min, v);
    max = std::max(max, v);
}

SeriesStatistics RangeStatistics::Sums::Of(std::int64_t n) const {
    if (n == 0)
        return {};
    SeriesStatistics s;
    s.mean = static_cast<double>(static_cast<long double>(sum) / n);
    s.min = min;
    s.max = max;
    // n * squares - sum^2 is exact and never negative; n^2 * variance.
    const __int128 scaled = static_cast<__int128>(n) * squares - sum * sum;
    s.std = static_cast<double>(std::sqrt(static_cast<long double>(scaled)) / n);
    return s;
}

void RangeStatistics::Add(const std::array<std::int32_t, kRecordRopes>& loads) {
    std::int64_t total = 0;
    for (int rope = 0; rope < kRecordRopes; ++rope) {
        m_ropes[rope].Add(loads[rope]);
        total += loads[rope];
    }
    m_total.Add(total);
    ++m_frames;
}

RangeSummary RangeStatistics::Summary() const {
    RangeSummary summary;
    summary.frames = m_frames;
    for (int rope = 0; rope < kRecordRopes; ++rope)
        summary.ropes[rope] = m_ropes[rope].Of(m_frames);
    summary.total = m_total.Of(m_frames);
    double lowest = 0, highest = 0, sum = 0;
    for (const SeriesStatistics& s : summary.ropes) {
        if (s.mean == 0)
            continue;
        lowest = summary.ropesInSpread == 0 ? s.mean : std::min(lowest, s.mean);
        highest = summary.ropesInSpread == 0 ? s.mean : std::max(highest, s.mean);
        sum += s.mean;
        ++summary.ropesInSpread;
    }
    if (summary.ropesInSpread >= 2) {
        summary.spreadKg = highest - lowest;
        summary.spreadPercent = summary.spreadKg / std::abs(sum / summary.ropesInSpread) * 100.0;
    }
    return summary;
}

} // namespace tensiq
