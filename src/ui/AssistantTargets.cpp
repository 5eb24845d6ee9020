#include "AssistantTargets.h"

#include "AssistantRopes.h"
#include "LinearSystem.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace tensiq {

namespace {

std::int32_t TruncateToInt32(double value) {
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (!(value >= kLow)) // NaN too
        return std::numeric_limits<std::int32_t>::min();
    if (value > kHigh)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::trunc(value));
}

} // namespace

std::optional<int> ComputeAssistantTargets(const BarPositions& positions, int ropeCount,
                                           AssistantTargetArray& targets) {
    const int n = AssistantRopeCount(ropeCount);
    if (n < kAssistantMinRopes)
        return std::nullopt;

    std::vector<double> p(positions.begin(), positions.begin() + n);
    double sum = 0.0;
    for (const double v : p)
        sum += v;
    const double mean = sum / n;

    int reference = 0;
    double best = mean;
    for (int i = 0; i < n; ++i) {
        const double d = std::fabs(mean - p[i]);
        if (d < best) {
            best = d;
            reference = i;
        }
    }

    std::vector<int> others;
    for (int i = 0; i < n; ++i)
        if (i != reference)
            others.push_back(i);
    const std::size_t m = others.size();

    // Row k: x_k - (sum of the other x) / m = M - P_k. Its solution is
    // x_k = m / (m + 1) * (P_ref - P_k); solving the system keeps the method's own rounding.
    std::vector<double> a(m * m, -1.0 / static_cast<double>(m));
    std::vector<double> b(m);
    for (std::size_t k = 0; k < m; ++k) {
        a[k * m + k] = 1.0;
        b[k] = mean - p[others[k]];
    }
    std::vector<double> x = SolveLinearSystem(std::move(a), std::move(b))
                                .value_or(std::vector<double>(
                                    m, 0.0)); // never empty: the matrix is diagonally dominant

    targets[reference] = TruncateToInt32(p[reference]);
    for (std::size_t k = 0; k < m; ++k)
        targets[others[k]] = TruncateToInt32(p[others[k]] + x[k]);
    return reference;
}

} // namespace tensiq
