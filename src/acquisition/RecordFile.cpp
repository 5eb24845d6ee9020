#include "RecordFile.h"

#include "RecordLine.h"

#include <cerrno>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>
#include <stdio_ext.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

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

std::string RecordFile::Name() const {
    return m_path == "-" ? "on standard output" : m_path;
}

bool RecordFile::Open(const std::string& path) {
    Close();
    m_path = path;
    m_error.clear();
    m_frames = 0;
    m_framesKept = 0;
    m_keptSize = -1;
    if (path == "-") {
        m_file = stdout;
        m_ownsFile = false;
    } else {
        m_file = std::fopen(path.c_str(), "w");
        m_ownsFile = true;
        if (m_file == nullptr) {
            m_error = "The record " + path +
                      " cannot be created: " + std::generic_category().message(errno) + ".";
            return false;
        }
        struct stat info {};
        if (::fstat(::fileno(m_file), &info) == 0 && S_ISREG(info.st_mode))
            m_keptSize = 0;
    }
    if (std::fprintf(m_file, "%s\n", LocalDateTimeText().c_str()) < 0)
        return Fail(errno);
    return Flush();
}

bool RecordFile::WriteLoads(const std::array<int, kRopes>& loads) {
    if (m_file == nullptr)
        return false;
    RecordLineBuffer buffer;
    const std::string_view line = FormatRecordLine(loads, buffer);
    if (std::fwrite(line.data(), 1, line.size(), m_file) != line.size())
        return Fail(errno);
    ++m_frames;
    return FlushIfDue();
}

bool RecordFile::FlushIfDue() {
    if (m_file == nullptr)
        return !Failed();
    if (std::chrono::steady_clock::now() - m_lastFlush >= kFlushInterval)
        return Flush();
    return true;
}

bool RecordFile::Flush() {
    if (m_file == nullptr)
        return !Failed();
    if (std::fflush(m_file) != 0)
        return Fail(errno);
    m_framesKept = m_frames;
    if (m_keptSize >= 0)
        m_keptSize = std::ftell(m_file);
    m_lastFlush = std::chrono::steady_clock::now();
    return true;
}

bool RecordFile::Fail(int error) {
    m_error = "The record " + Name() +
              " could not be written: " + std::generic_category().message(error) + ". " +
              (m_ownsFile ? "It keeps the first " + std::to_string(m_framesKept) + " frames."
                          : std::to_string(m_framesKept) + " frames were passed on before.");
    // Drop what is still buffered and cut a half-written line, so the record holds whole
    // lines only.
    ::__fpurge(m_file);
    if (m_ownsFile) {
        if (m_keptSize >= 0 && ::ftruncate(::fileno(m_file), m_keptSize) != 0)
            m_error += " Its last line may be incomplete.";
        std::fclose(m_file);
    }
    m_file = nullptr;
    return false;
}

bool RecordFile::Close() {
    if (m_file == nullptr)
        return !Failed();
    if (!Flush())
        return false;
    if (m_ownsFile && std::fclose(m_file) != 0) {
        m_file = nullptr;
        m_error = "The record " + Name() +
                  " could not be closed: " + std::generic_category().message(errno) + ".";
        return false;
    }
    m_file = nullptr;
    return true;
}

} // namespace tensiq
