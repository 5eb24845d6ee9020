#include "LinearSystem.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace tensiq {

std::optional<std::vector<double>> SolveLinearSystem(std::vector<double> a, std::vector<double> b) {
    const std::size_t n = b.size();
    if (a.size() != n * n)
        return std::nullopt;
    auto at = [&a, n](std::size_t row, std::size_t col) -> double& { return a[row * n + col]; };

    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < n; ++row)
            if (std::fabs(at(row, col)) > std::fabs(at(pivot, col)))
                pivot = row;
        if (at(pivot, col) == 0.0)
            return std::nullopt;
        if (pivot != col) {
            for (std::size_t k = 0; k < n; ++k)
                std::swap(at(pivot, k), at(col, k));
            std::swap(b[pivot], b[col]);
        }
        for (std::size_t row = col + 1; row < n; ++row) {
            const double f = at(row, col) / at(col, col);
            if (f == 0.0)
                continue;
            for (std::size_t k = col; k < n; ++k)
                at(row, k) -= f * at(col, k);
            b[row] -= f * b[col];
        }
    }

    std::vector<double> x(n);
    for (std::size_t i = n; i-- > 0;) {
        double sum = b[i];
        for (std::size_t k = i + 1; k < n; ++k)
            sum -= at(i, k) * x[k];
        x[i] = sum / at(i, i);
    }
    return x;
}

} // namespace tensiq
