#include "ReportTime.h"

#include <cstdio>

namespace tensiq::report {

std::string ReportTime(std::time_t when) {
    std::tm local{};
    ::localtime_r(&when, &local);
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local) ? text : "";
}

std::string ReportTimeOfDateLine(std::string_view line) {
    const auto digits = [&](std::size_t at, std::size_t count, int& value) {
        value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (i >= line.size() || line[i] < '0' || line[i] > '9')
                return false;
            value = value * 10 + (line[i] - '0');
        }
        return true;
    };
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    const bool german = line.size() == 19 && line[2] == '.' && line[5] == '.' && line[10] == ' ' &&
                        line[13] == ':' && line[16] == ':' && digits(0, 2, day) &&
                        digits(3, 2, month) && digits(6, 4, year) && digits(11, 2, hour) &&
                        digits(14, 2, minute) && digits(17, 2, second);
    if (!german || day < 1 || day > 31 || month < 1 || month > 12 || hour > 23 || minute > 59 ||
        second > 60)
        return std::string(line);
    char text[80]; // room for what the compiler cannot rule out
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour,
                  minute, second);
    return text;
}

} // namespace tensiq::report
