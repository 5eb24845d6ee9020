#include "RecordReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace tensiq {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;
// The longest date a locale writes is far shorter; a longer first line is not a record.
constexpr std::size_t kMaxDateLine = 256;
// Twelve "-2147483648;" and a CR; anything longer cannot be a line of loads.
constexpr std::size_t kMaxLoadLine = kRecordRopes * 12 + 1;

struct LineVerdict {
    RecordProblemKind kind = RecordProblemKind::None;
    int field = 0;
    bool outOfRange = false;
};

// One line of loads, its line end removed; atEnd when the file ends inside it.
LineVerdict ParseLoads(const char* p, const char* end,
                       std::array<std::int32_t, kRecordRopes>& loads, bool atEnd) {
    if (end > p && end[-1] == '\r')
        --end;
    if (p == end)
        return {RecordProblemKind::EmptyLine, 0};
    for (int i = 0; i < kRecordRopes; ++i) {
        if (p == end)
            return {atEnd ? RecordProblemKind::CutOff : RecordProblemKind::TooFewLoads, i};
        const bool negative = *p == '-';
        if (negative)
            ++p;
        const char* digits = p;
        std::int64_t value = 0;
        while (p != end && *p >= '0' && *p <= '9' && p - digits < 11)
            value = value * 10 + (*p++ - '0');
        if (p == digits || (p != end && *p >= '0' && *p <= '9'))
            return {RecordProblemKind::BadLoad, i + 1, p != digits};
        if (negative)
            value = -value;
        if (value < INT32_MIN || value > INT32_MAX)
            return {RecordProblemKind::BadLoad, i + 1, true};
        if (p == end)
            return {atEnd ? RecordProblemKind::CutOff : RecordProblemKind::TooFewLoads, i};
        if (*p != ';')
            return {RecordProblemKind::BadLoad, i + 1};
        ++p;
        loads[i] = static_cast<std::int32_t>(value);
    }
    if (p != end)
        return {RecordProblemKind::ExtraText, kRecordRopes};
    return {};
}

std::string Describe(const LineVerdict& verdict) {
    switch (verdict.kind) {
    case RecordProblemKind::BadLoad:
        return "load " + std::to_string(verdict.field) +
               (verdict.outOfRange ? " does not fit a 32-bit whole number"
                                   : " is not a whole number followed by ';'");
    case RecordProblemKind::TooFewLoads:
        return "the line holds " + std::to_string(verdict.field) + " loads instead of " +
               std::to_string(kRecordRopes);
    case RecordProblemKind::ExtraText:
        return "text follows the twelfth load";
    case RecordProblemKind::EmptyLine:
        return "the line is empty";
    case RecordProblemKind::CutOff:
        return "the file ends inside this line, after " + std::to_string(verdict.field) + " loads";
    default:
        return {};
    }
}

// Dates are written in the user's locale, which on this system is UTF-8.
bool IsUtf8(const char* p, const char* end) {
    while (p != end) {
        const auto byte = static_cast<unsigned char>(*p++);
        const int follow = byte < 0x80           ? 0
                           : (byte >> 5) == 0x6  ? 1
                           : (byte >> 4) == 0xE  ? 2
                           : (byte >> 3) == 0x1E ? 3
                                                 : -1;
        if (follow < 0 || end - p < follow)
            return false;
        for (int i = 0; i < follow; ++i)
            if ((static_cast<unsigned char>(*p++) & 0xC0) != 0x80)
                return false;
    }
    return true;
}

class Reader {
public:
    Reader(const RecordFrameVisitor& visit) : m_visit(visit) {}

    // False when reading stops here.
    bool Line(const char* p, const char* end, bool atEnd) {
        ++m_line;
        if (m_line == 1)
            return DateLine(p, end);
        std::array<std::int32_t, kRecordRopes> loads{};
        const LineVerdict verdict = ParseLoads(p, end, loads, atEnd);
        if (verdict.kind != RecordProblemKind::None)
            return Stop(RecordStatus::StoppedAtBadLine, verdict.kind, Describe(verdict),
                        verdict.field);
        if (m_visit && !m_visit(m_summary.frames + 1, loads)) {
            m_summary.status = RecordStatus::Cancelled;
            return false;
        }
        ++m_summary.frames;
        return true;
    }

    // A line that grew past any line of a record without its end.
    bool Overlong() {
        ++m_line;
        if (m_line == 1)
            return Stop(RecordStatus::NotARecord, RecordProblemKind::Binary,
                        "no line end where the date line should end");
        return Stop(RecordStatus::StoppedAtBadLine, RecordProblemKind::ExtraText,
                    "the line is longer than twelve loads can be");
    }

    bool Stop(RecordStatus status, RecordProblemKind kind, std::string what, int field = 0) {
        m_summary.status = status;
        m_summary.problem = {m_line, std::move(what), kind, field};
        return false;
    }

    std::int64_t LinesSeen() const { return m_line; }
    RecordSummary& Summary() { return m_summary; }

private:
    bool DateLine(const char* p, const char* end) {
        if (end > p && end[-1] == '\r')
            --end;
        if (static_cast<std::size_t>(end - p) > kMaxDateLine)
            return Stop(RecordStatus::NotARecord, RecordProblemKind::Binary,
                        "the first line is too long for a date line");
        // A byte order mark some editors put in front.
        if (end - p >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0)
            p += 3;
        if (!IsUtf8(p, end))
            return Stop(RecordStatus::NotARecord, RecordProblemKind::Binary,
                        "binary data, not a record");
        bool digit = false;
        for (const char* c = p; c != end; ++c) {
            const auto byte = static_cast<unsigned char>(*c);
            if ((byte < 0x20 && byte != '\t') || byte == 0x7F)
                return Stop(RecordStatus::NotARecord, RecordProblemKind::Binary,
                            "binary data, not a record");
            digit = digit || (byte >= '0' && byte <= '9');
        }
        std::array<std::int32_t, kRecordRopes> loads{};
        if (!digit || ParseLoads(p, end, loads, false).kind == RecordProblemKind::None)
            return Stop(RecordStatus::NotARecord, RecordProblemKind::NoDateLine,
                        "the first line is not a date line");
        m_summary.dateLine.assign(p, end);
        m_summary.status = RecordStatus::Complete;
        return true;
    }

    const RecordFrameVisitor& m_visit;
    RecordSummary m_summary;
    std::int64_t m_line = 0;
};

RecordSummary CannotOpen(const std::string& what) {
    RecordSummary summary;
    summary.status = RecordStatus::CannotOpen;
    summary.problem = {0, what, RecordProblemKind::CannotOpen, 0};
    return summary;
}

} // namespace

RecordSummary
ReadRecord(const std::string& path, const RecordFrameVisitor& visit,
           const std::function<void(std::uint64_t done, std::uint64_t size)>& progress) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return CannotOpen(std::generic_category().message(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return CannotOpen(std::generic_category().message(error));
    }
    // A regular file is read up to its size at the open; a pipe to its end.
    const bool snapshot = S_ISREG(info.st_mode);
    const std::uint64_t size = snapshot ? static_cast<std::uint64_t>(info.st_size) : 0;

    Reader reader(visit);
    std::vector<char> buffer(kBufferSize);
    std::string carry; // the start of a line that the buffer's end cut
    std::uint64_t done = 0;
    bool finishing = false; // past the size at the open, for the line cut there
    bool going = true;
    while (going) {
        std::size_t want = buffer.size();
        if (snapshot && !finishing) {
            want = static_cast<std::size_t>(std::min<std::uint64_t>(want, size - done));
            if (want == 0) {
                if (carry.empty())
                    break;
                finishing = true;
                want = buffer.size();
            }
        }
        const ssize_t n = ::read(fd, buffer.data(), want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            RecordSummary summary = reader.Summary();
            summary.status = RecordStatus::CannotOpen;
            summary.problem = {reader.LinesSeen() + 1,
                               "reading failed: " + std::generic_category().message(error),
                               RecordProblemKind::CannotOpen, 0};
            return summary;
        }
        if (n == 0)
            break;
        done += static_cast<std::uint64_t>(n);
        const char* p = buffer.data();
        const char* const end = p + n;
        while (going && p != end) {
            const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p));
            if (lineEnd == nullptr) {
                carry.append(p, end);
                const std::size_t limit = reader.LinesSeen() == 0 ? kMaxDateLine : kMaxLoadLine;
                if (carry.size() > limit + 1)
                    going = reader.Overlong();
                break;
            }
            if (carry.empty()) {
                going = reader.Line(p, lineEnd, false);
            } else {
                carry.append(p, lineEnd);
                going = reader.Line(carry.data(), carry.data() + carry.size(), false);
                carry.clear();
            }
            p = lineEnd + 1;
            if (finishing)
                going = false;
        }
        if (progress)
            progress(done, std::max(size, done));
    }
    ::close(fd);
    if (going && !carry.empty())
        reader.Line(carry.data(), carry.data() + carry.size(), true);
    RecordSummary summary = std::move(reader.Summary());
    if (reader.LinesSeen() == 0)
        summary = {
            RecordStatus::NotARecord, {}, 0, {1, "the file is empty", RecordProblemKind::Empty, 0}};
    return summary;
}

} // namespace tensiq
