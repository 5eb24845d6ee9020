#pragma once
// Reads a record written by RecordFile back: its date line, then one frame of twelve loads
// per line. One pass through a fixed-size buffer, so a record of any length reads in
// constant memory besides what the visitor keeps.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace tensiq {

inline constexpr int kRecordRopes = 12;

// Why a line or a file was refused, for callers that word it in their own language.
enum class RecordProblemKind {
    None,
    CannotOpen,  // what: the system's reason
    Empty,       // not a byte in it
    Binary,      // control bytes or no line end where the date line should be
    NoDateLine,  // the first line is not a date (e.g. already a line of loads)
    BadLoad,     // load number `field` is not a whole number, or does not fit
    TooFewLoads, // the line ends after `field` loads
    ExtraText,   // something follows the twelfth load
    EmptyLine,   //
    CutOff,      // the file ends inside the line, after `field` loads
};

struct RecordProblem {
    std::int64_t line = 0; // line counts the date line as 1
    std::string what;      // in English, for the command line and logs
    RecordProblemKind kind = RecordProblemKind::None;
    int field = 0; // the load (1 to 12) the kind refers to, where it names one
};

enum class RecordStatus { Complete, StoppedAtBadLine, NotARecord, CannotOpen, Cancelled };

struct RecordSummary {
    RecordStatus status = RecordStatus::CannotOpen;
    std::string dateLine;    // without its line end
    std::int64_t frames = 0; // whole frames read (before any bad line)
    RecordProblem problem;   // set for StoppedAtBadLine, NotARecord, CannotOpen
};

// Called once per frame, frames counted from 1; return false to cancel.
using RecordFrameVisitor =
    std::function<bool(std::int64_t frame, const std::array<std::int32_t, kRecordRopes>& loads)>;

// Streams the file in one pass with a fixed-size buffer; progress gets bytes read and the file
// size. The record is read as it was when opened: lines added while it is read are left for
// the next read, except that a line cut at that moment is read on to its end.
RecordSummary
ReadRecord(const std::string& path, const RecordFrameVisitor& visit,
           const std::function<void(std::uint64_t done, std::uint64_t size)>& progress = {});

} // namespace tensiq
