#pragma once
// A range of a record as CSV for spreadsheets: a header row, then frame, the twelve ropes and
// the total per line, in the unit the window shows, with '.' decimals whatever the locale.
#include "RecordColumns.h"

#include <ostream>
#include <string>

namespace tensiq {

struct CsvUnit {
    double factor = 1.0;     // units per kilogram
    std::string text = "kg"; // in the header
    bool whole = true;       // kilograms are whole numbers; other units get three decimals
};

// Frames first to last, counted from 1, both included. False when the stream failed.
bool WriteCsv(std::ostream& out, const RecordColumns& record, std::int64_t first, std::int64_t last,
              const CsvUnit& unit);

// A number with '.' as its decimal point: whole, or with the given decimals.
std::string FormatNumber(double value, int decimals);

} // namespace tensiq
