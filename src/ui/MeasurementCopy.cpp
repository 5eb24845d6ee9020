#include "MeasurementCopy.h"

#include "FileDescriptor.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tensiq {

namespace {

CopyResult Failed(CopyFailure failure, int error) {
    return CopyResult{failure, error};
}

CopyResult WriteFailed(int error) {
    return Failed(ClassifyWriteError(error), error);
}

// umask() can only be read by setting it, which would race with the acquisition thread
// creating the record; the kernel reports it here instead.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 022;
}

bool WriteAll(int fd, const char* data, std::size_t size, int& error) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The link chain from path to the name it ends in; a loop or a broken step stops there.
std::filesystem::path FollowLinks(const std::filesystem::path& path) {
    constexpr int kMaxLinks = 40; // as the kernel's own limit
    std::filesystem::path at = path;
    for (int i = 0; i < kMaxLinks; ++i) {
        std::error_code error;
        if (!std::filesystem::is_symlink(at, error))
            break;
        const std::filesystem::path to = std::filesystem::read_symlink(at, error);
        if (error)
            break;
        at = to.is_absolute() ? to : at.parent_path() / to;
    }
    return at;
}

// ".<name>.XXXXXX", with the name cut so that it still fits where the name itself fits.
std::string TemporaryName(const std::filesystem::path& folder, const std::string& name) {
    const std::string affix = ".XXXXXX";
    long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    const std::size_t room = static_cast<std::size_t>(limit) - affix.size() - 1;
    return "." + name.substr(0, room) + affix;
}

// Only a plain file is replaced: renaming over a device or a folder would destroy it. A
// write-protected file is not replaced behind its owner's back either, though the folder would
// allow the rename. mode: what the copy gets, a replaced file's own or the user's default.
CopyResult CheckTarget(const std::filesystem::path& path, mode_t& mode) {
    mode = 0666 & ~CurrentUmask();
    struct stat targetStat {};
    if (::stat(path.c_str(), &targetStat) != 0)
        return {};
    if (!S_ISREG(targetStat.st_mode))
        return Failed(CopyFailure::TargetNotWritable,
                      S_ISDIR(targetStat.st_mode) ? EISDIR : EINVAL);
    if (::access(path.c_str(), W_OK) != 0)
        return WriteFailed(errno);
    mode = targetStat.st_mode & 07777;
    return {};
}

// While a run writes, the record grows under the copy: whole lines take what it held at the
// start (size) up to its last line end.
CopyResult CopyContents(int in, int out, off_t size, CopyExtent extent) {
    const bool wholeLines = extent == CopyExtent::WholeLines;
    off_t remaining = size;
    off_t copied = 0;
    off_t afterLastLine = 0;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        std::size_t want = buffer.size();
        if (wholeLines) {
            if (remaining <= 0)
                break;
            want = static_cast<std::size_t>(std::min<off_t>(remaining, buffer.size()));
        }
        const ssize_t got = ::read(in, buffer.data(), want);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Failed(CopyFailure::SourceUnreadable, errno);
        }
        if (got == 0)
            break;
        int error = 0;
        if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(got), error))
            return WriteFailed(error);
        for (ssize_t i = got; i-- > 0;)
            if (buffer[static_cast<std::size_t>(i)] == '\n') {
                afterLastLine = copied + i + 1;
                break;
            }
        copied += got;
        remaining -= got;
    }
    if (wholeLines && afterLastLine != copied && ::ftruncate(out, afterLastLine) != 0)
        return WriteFailed(errno);
    return {};
}

} // namespace

CopyFailure ClassifyWriteError(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ENOENT:
    case ENOTDIR:
        return CopyFailure::TargetNotWritable;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return CopyFailure::DiskFull;
    default:
        return CopyFailure::Other;
    }
}

CopyResult CopyMeasurement(const std::string& source, const std::string& target,
                           CopyExtent extent) {
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.Get() < 0)
        return Failed(errno == ENOENT ? CopyFailure::NoRecord : CopyFailure::SourceUnreadable,
                      errno);
    struct stat sourceStat {};
    if (::fstat(in.Get(), &sourceStat) != 0)
        return Failed(CopyFailure::SourceUnreadable, errno);
    if (!S_ISREG(sourceStat.st_mode))
        return Failed(CopyFailure::SourceUnreadable, EISDIR);

    // A link is followed, so the file it names is written and the link stays, even when that
    // file does not exist yet.
    const std::filesystem::path path = FollowLinks(target);

    mode_t mode = 0;
    if (const CopyResult checked = CheckTarget(path, mode); !checked.Ok())
        return checked;

    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    std::string temporary = (folder / TemporaryName(folder, path.filename().string())).string();
    FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (out.Get() < 0)
        return WriteFailed(errno);

    auto discard = [&temporary](CopyResult result) {
        ::unlink(temporary.c_str());
        return result;
    };

    if (const CopyResult copied = CopyContents(in.Get(), out.Get(), sourceStat.st_size, extent);
        !copied.Ok())
        return discard(copied);

    if (::fchmod(out.Get(), mode) != 0)
        return discard(WriteFailed(errno));
    // A full disk may only show when the data reaches it.
    if (::fsync(out.Get()) != 0)
        return discard(WriteFailed(errno));
    if (out.Close() != 0)
        return discard(WriteFailed(errno));
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return discard(WriteFailed(errno));

    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get()); // the rename itself is kept on a crash; not worth a failure
    return {};
}

} // namespace tensiq
