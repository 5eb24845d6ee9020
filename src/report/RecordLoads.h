#pragma once
#include "SteadyLoads.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tensiq::report {

struct RecordLoads {
    bool ok = false;
    std::string error; // names the file, and the line of a bad one (the date line is line 1)
    std::string dateLine;
    SteadyLoads loads;
};

// Reads a record in one pass and takes each rope's load over its last frames: steadyFrames
// of them, or the whole run when it is shorter. A bad line or an empty record is an error.
RecordLoads ReadRecordLoads(const std::string& path, std::int64_t steadyFrames);

// The same, with the window of the last seconds worked out from how long the run took (0:
// unknown, the line's rate counts).
RecordLoads ReadRecordLoadsOfRun(const std::string& path, double runSeconds);

} // namespace tensiq::report
