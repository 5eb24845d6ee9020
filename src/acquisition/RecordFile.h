#pragma once
#include "LiveFrame.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <string>

namespace tensiq {

// The record of one measurement run: a local date-and-time line, then one line of twelve
// "%d;" loads per valid frame. Lines reach the file at least every 100 ms, so a copy taken
// during a run or a crash loses at most that much.
class RecordFile {
public:
    static constexpr auto kFlushInterval = std::chrono::milliseconds(100);

    RecordFile() = default;
    ~RecordFile() { Close(); }
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Created or emptied; "-" is standard output (left open at Close). False when it cannot be
    // created: the run goes on without a record.
    bool Open(const std::string& path);
    bool IsOpen() const { return m_file != nullptr; }
    void WriteLoads(const std::array<int, kRopes>& loads);
    void FlushIfDue();
    void Flush();
    void Close();

private:
    std::FILE* m_file = nullptr;
    bool m_ownsFile = false;
    std::chrono::steady_clock::time_point m_lastFlush{};
};

// The current local date and time in the user's locale.
std::string LocalDateTimeText();

} // namespace tensiq
