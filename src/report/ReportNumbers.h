#pragma once
#include <string>

namespace tensiq::report {

// A number with a fixed count of decimals and '.', whatever the locale.
std::string FormatFixed(double value, int decimals);
// The decimals a weight in unit gets: whole kg and lbs, three for the tons.
int UnitDecimals(const std::string& unitText);

} // namespace tensiq::report
