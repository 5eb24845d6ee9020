#pragma once
#include <ctime>
#include <string>
#include <string_view>

namespace tensiq::report {

// The report writes every time as "2026-12-08 09:30:00", local time, whatever the user's
// locale, so that start, end and date read alike.
std::string ReportTime(std::time_t when);

// A record's date line in the report's form. The line is written in the locale of the machine
// that recorded it: the German "08.12.2026 09:30:00" and the report's own form are read; any
// other form is kept as written, since "12/08/26" may be either day first or month first.
std::string ReportTimeOfDateLine(std::string_view line);

} // namespace tensiq::report
