#pragma once
// The median of a few measured rounds: one slow round moves it less than it moves a mean.
#include <algorithm>
#include <vector>

namespace tensiq::bench {

inline double Median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace tensiq::bench
