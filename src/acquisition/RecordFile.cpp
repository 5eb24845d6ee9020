#include "RecordFile.h"

#include "RecordLine.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <iomanip>
#include <locale>
#include <sstream>
#include <stdio_ext.h>
#include <sys/stat.h>
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

namespace {

// A fifo without a reader would block the open for good: it fails at once instead.
std::FILE* OpenForWriting(const std::string& path) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* file = nullptr;
    if (const int flags = ::fcntl(fd, F_GETFL);
        flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
        file = ::fdopen(fd, "w");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
}

} // namespace

bool RecordFile::Open(const std::string& path) {
    Close();
    m_path = path;
    m_failure.reset();
    m_frames = 0;
    m_framesKept = 0;
    m_keptSize = -1;
    m_pendingBytes = 0;
    if (path == "-") {
        m_file = stdout;
        m_ownsFile = false;
    } else {
        m_file = OpenForWriting(path);
        m_ownsFile = true;
        if (m_file == nullptr) {
            m_failure = RecordFailure{RecordFailure::Step::Create, path, errno, 0, false};
            return false;
        }
        struct stat info {};
        if (::fstat(::fileno(m_file), &info) == 0 && S_ISREG(info.st_mode))
            m_keptSize = 0;
    }
    const int heading = std::fprintf(m_file, "%s\n", LocalDateTimeText().c_str());
    if (heading < 0)
        return Fail(RecordFailure::Step::Write, errno);
    m_pendingBytes = heading;
    return Flush();
}

bool RecordFile::WriteLoads(const std::array<int, kRopes>& loads) {
    if (m_file == nullptr)
        return false;
    RecordLineBuffer buffer;
    const std::string_view line = FormatRecordLine(loads, buffer);
    // One thread writes a record at a time (its owner's lock): the stream's own lock is spared.
    if (::fwrite_unlocked(line.data(), 1, line.size(), m_file) != line.size())
        return Fail(RecordFailure::Step::Write, errno);
    ++m_frames;
    m_pendingBytes += static_cast<long>(line.size());
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
        return Fail(RecordFailure::Step::Write, errno);
    m_framesKept = m_frames;
    // Counted rather than asked for with ftell, which costs a system call a flush.
    if (m_keptSize >= 0)
        m_keptSize += m_pendingBytes;
    m_pendingBytes = 0;
    m_lastFlush = std::chrono::steady_clock::now();
    return true;
}

bool RecordFile::Fail(RecordFailure::Step step, int error) {
    m_failure = RecordFailure{step, m_path, error, m_framesKept, false};
    // Drop what is still buffered and cut a half-written line, so the record holds whole
    // lines only.
    ::__fpurge(m_file);
    if (m_ownsFile) {
        if (m_keptSize >= 0 && ::ftruncate(::fileno(m_file), m_keptSize) != 0)
            m_failure->lastLineMayBeIncomplete = true;
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
        m_failure = RecordFailure{RecordFailure::Step::Close, m_path, errno, m_framesKept, false};
        return false;
    }
    m_file = nullptr;
    return true;
}

} // namespace tensiq
