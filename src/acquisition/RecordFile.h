#pragma once
#include "LiveFrame.h"
#include "RecordFailure.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace tensiq {

// The record of one measurement run: a local date-and-time line, then one line of twelve
// "%d;" loads per valid frame. Lines reach the file at least every 100 ms, so a copy taken
// during a run or a crash loses at most that much.
//
// Every write, flush and close is checked. After a failure the record is closed, cut back to
// the last lines that were written whole, and Error() says why and how many frames it keeps;
// a record that lost lines is never passed off as complete.
class RecordFile {
public:
    static constexpr auto kFlushInterval = std::chrono::milliseconds(100);

    RecordFile() = default;
    ~RecordFile() { Close(); }
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Created or emptied, with its date line written through; "-" is standard output (left
    // open at Close). False when that fails.
    bool Open(const std::string& path);
    bool IsOpen() const { return m_file != nullptr; }
    // False when the record has failed.
    bool WriteLoads(const std::array<int, kRopes>& loads);
    bool FlushIfDue();
    // Now, whatever the time since the last flush.
    bool Flush();
    // False when the last lines could not be written.
    bool Close();

    bool Failed() const { return m_failure.has_value(); }
    // Why the record failed; empty while all is well.
    const std::optional<RecordFailure>& Failure() const { return m_failure; }
    // The same in English, for the command line; empty while all is well.
    std::string Error() const { return m_failure ? m_failure->Text() : std::string(); }
    // Frame lines written so far, and those known to have reached the file whole.
    long Frames() const { return m_frames; }
    long FramesKept() const { return m_framesKept; }

private:
    bool Fail(RecordFailure::Step step, int error);

    std::FILE* m_file = nullptr;
    bool m_ownsFile = false;
    std::string m_path;
    std::optional<RecordFailure> m_failure;
    long m_frames = 0;
    long m_framesKept = 0;
    long m_keptSize = -1;    // bytes of the whole lines on disk; -1: not a file that can be cut
    long m_pendingBytes = 0; // written to the stream since the last flush
    std::chrono::steady_clock::time_point m_lastFlush{};
};

// The current local date and time in the user's locale.
std::string LocalDateTimeText();

} // namespace tensiq
