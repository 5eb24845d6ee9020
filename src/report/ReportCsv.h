#pragma once
#include "RopeReport.h"

#include <string>

namespace tensiq::report {

// The report's table as CSV, UTF-8, a header row, weights in the unit shown with '.' decimals.
std::string ReportCsv(const ReportInput& input, const ReportFigures& figures);

const char* RopeStateKey(RopeState state); // OK, HIGH, LOW, -
const char* VerdictKey(Verdict verdict);   // PASS, FAIL, NOT ASSESSED

} // namespace tensiq::report
