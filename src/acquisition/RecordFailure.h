#pragma once
#include <string>

namespace tensiq {

// Why a record failed, as facts: the window words them in its own language, the command line
// in English (Text).
struct RecordFailure {
    enum class Step { Create, Write, Close };

    Step step = Step::Write;
    std::string path; // "-" is standard output
    int error = 0;    // errno
    // Frame lines known to be in the record (or passed on, for standard output).
    long framesKept = 0;
    // The record could not be cut back to its whole lines.
    bool lastLineMayBeIncomplete = false;

    bool ToStandardOutput() const { return path == "-"; }
    // One English sentence or two, naming the record, the reason and what it keeps.
    std::string Text() const;
};

} // namespace tensiq
