#pragma once
#include <string>

namespace tensiq {

// Why a save failed; the user is told which.
enum class CopyFailure {
    None,
    NoRecord,          // no run has written a record yet
    RunNotRecorded,    // the last run could not make its record
    SourceUnreadable,  // the record exists but cannot be read
    TargetNotWritable, // the folder, or the file to be replaced, may not be written
    DiskFull,
    Other,
};

struct CopyResult {
    CopyFailure failure = CopyFailure::None;
    int error = 0; // errno of the failing call
    bool Ok() const { return failure == CopyFailure::None; }
};

// How much of the record to take. While the acquisition thread writes, the record may end in
// half a line; WholeLines stops at the last complete one, and at what the file held when the
// copy began.
enum class CopyExtent { WholeFile, WholeLines };

// Copies the record to target through a temporary file in the target's folder that is renamed
// into place: a failure never leaves a partial file and never touches a file already there.
// A new file gets the user's default mode, a replaced one keeps its mode.
CopyResult CopyMeasurement(const std::string& source, const std::string& target,
                           CopyExtent extent = CopyExtent::WholeFile);

// The failure a write error number stands for.
CopyFailure ClassifyWriteError(int error);

} // namespace tensiq
