#include "ReportNumbers.h"

#include <charconv>
#include <cmath>

namespace tensiq::report {

std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        return "-";
    // to_chars never looks at the locale.
    char text[64];
    const auto r =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out(text, r.ptr);
    if (out.find_first_not_of("-0.") == std::string::npos && out.front() == '-')
        out.erase(0, 1); // no "-0.0"
    return out;
}

int UnitDecimals(const std::string& unitText) {
    return unitText == "kg" || unitText == "lbs" ? 1 : 3;
}

} // namespace tensiq::report
