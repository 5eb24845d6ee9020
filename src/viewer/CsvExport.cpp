#include "CsvExport.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tensiq {

std::string FormatNumber(double value, int decimals) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-')
        text.erase(0, 1); // no "-0.000"
    return text;
}

bool WriteCsv(std::ostream& out, const RecordColumns& record, std::int64_t first, std::int64_t last,
              const CsvUnit& unit) {
    first = std::max<std::int64_t>(first, 1);
    last = std::min(last, record.Frames());
    out << "frame";
    for (int rope = 1; rope <= kRecordRopes; ++rope)
        out << ",rope " << rope << " (" << unit.text << ')';
    out << ",total (" << unit.text << ")\n";
    std::string line;
    char number[32];
    for (std::int64_t frame = first; frame <= last && out; ++frame) {
        line.clear();
        line.append(number, std::to_chars(number, number + sizeof number, frame).ptr);
        for (int s = 0; s < kSeriesCount; ++s) {
            const std::int64_t kg = record.Value(s, frame - 1);
            line += ',';
            if (unit.whole)
                line.append(number, std::to_chars(number, number + sizeof number, kg).ptr);
            else
                line += FormatNumber(static_cast<double>(kg) * unit.factor, 3);
        }
        line += '\n';
        out << line;
    }
    return static_cast<bool>(out.flush());
}

} // namespace tensiq
