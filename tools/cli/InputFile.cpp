#include "InputFile.h"

#include "FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tensiq::cli {

bool ReadInputFile(const std::string& path, std::size_t maxSize, std::string& data,
                   std::string& error) {
    // Non-blocking, so a pipe without a writer cannot hang the open; checked on the open
    // descriptor, so the file cannot be swapped between check and read.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.Get() < 0) {
        error = "Cannot read " + path + ": " + std::generic_category().message(errno) + ".";
        return false;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        error = "Cannot read " + path + ": " + std::generic_category().message(errno) + ".";
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = path + " is a folder, not a file.";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + " is not a regular file.";
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > maxSize) {
        error = path + " holds " + std::to_string(info.st_size) + " bytes, more than the " +
                std::to_string(maxSize) + " expected.";
        return false;
    }
    data.assign(maxSize + 1, '\0');
    std::size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(file.Get(), data.data() + got, data.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = "Cannot read " + path + ": " + std::generic_category().message(errno) + ".";
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got > maxSize) {
        error = path + " grew beyond " + std::to_string(maxSize) + " bytes while it was read.";
        return false;
    }
    data.resize(got);
    return true;
}

} // namespace tensiq::cli
