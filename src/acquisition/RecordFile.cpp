#include "RecordFile.h"

#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>

namespace tensiq {

std::string LocalDateTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    std::ostringstream out;
    try {
        out.imbue(std::locale(""));
    } catch (const std::runtime_error&) {
        // An unknown LANG leaves the classic locale.
    }
    out << std::put_time(&local, "%x %X");
    return out.str();
}

bool RecordFile::Open(const std::string& path) {
    Close();
    if (path == "-") {
        m_file = stdout;
        m_ownsFile = false;
    } else {
        m_file = std::fopen(path.c_str(), "w");
        m_ownsFile = true;
        if (m_file == nullptr)
            return false;
    }
    std::fprintf(m_file, "%s\n", LocalDateTimeText().c_str());
    std::fflush(m_file);
    m_lastFlush = std::chrono::steady_clock::now();
    return true;
}

void RecordFile::WriteLoads(const std::array<int, kRopes>& loads) {
    if (m_file == nullptr)
        return;
    for (const int load : loads)
        std::fprintf(m_file, "%d;", load);
    std::fputc('\n', m_file);
    FlushIfDue();
}

void RecordFile::FlushIfDue() {
    if (m_file == nullptr)
        return;
    if (std::chrono::steady_clock::now() - m_lastFlush >= kFlushInterval)
        Flush();
}

void RecordFile::Flush() {
    if (m_file == nullptr)
        return;
    std::fflush(m_file);
    m_lastFlush = std::chrono::steady_clock::now();
}

void RecordFile::Close() {
    if (m_file == nullptr)
        return;
    if (m_ownsFile)
        std::fclose(m_file);
    else
        std::fflush(m_file);
    m_file = nullptr;
}

} // namespace tensiq
