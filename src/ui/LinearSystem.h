#pragma once
#include <optional>
#include <vector>

namespace tensiq {

// Solves A x = b for a square A given row by row (a.size() == b.size()²) by Gaussian
// elimination with partial pivoting: each column's pivot is the first row, from the diagonal
// down, with the largest absolute value. Empty when the sizes disagree or a pivot is zero.
std::optional<std::vector<double>> SolveLinearSystem(std::vector<double> a, std::vector<double> b);

} // namespace tensiq
