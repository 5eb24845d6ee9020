#include "LibraryFileCheck.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tensiq {

namespace {

#if defined(__x86_64__)
constexpr unsigned kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr unsigned kMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr unsigned kMachine = EM_386;
#elif defined(__arm__)
constexpr unsigned kMachine = EM_ARM;
#else
constexpr unsigned kMachine = EM_NONE; // not checked; the loader refuses a foreign one itself
#endif

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr unsigned char kByteOrder = ELFDATA2LSB;
#else
constexpr unsigned char kByteOrder = ELFDATA2MSB;
#endif

constexpr unsigned char kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;

// offset + count * size lies within a file of fileSize bytes, without overflow.
bool Within(std::uint64_t offset, std::uint64_t count, std::uint64_t size, std::uint64_t fileSize) {
    if (offset > fileSize)
        return false;
    if (size != 0 && count > (fileSize - offset) / size)
        return false;
    return true;
}

bool ReadAt(int fd, void* buffer, std::size_t size, std::uint64_t offset) {
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        out += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

std::string Check(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::strerror(errno);
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    const auto fileSize = static_cast<std::uint64_t>(info.st_size);
    ElfW(Ehdr) header{};
    if (fileSize < sizeof header || !ReadAt(fd, &header, sizeof header, 0))
        return "too short for a library";
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return "not a library";
    if (header.e_ident[EI_CLASS] != kClass || header.e_ident[EI_DATA] != kByteOrder ||
        header.e_type != ET_DYN || (kMachine != EM_NONE && header.e_machine != kMachine))
        return "a library for another kind of machine";
    if (header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0)
        return "its headers are damaged";
    if (!Within(header.e_phoff, header.e_phnum, header.e_phentsize, fileSize) ||
        (header.e_shnum != 0 &&
         !Within(header.e_shoff, header.e_shnum, header.e_shentsize, fileSize)))
        return "cut short: its headers lie past its end";
    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    if (!ReadAt(fd, segments.data(), segments.size() * sizeof(ElfW(Phdr)), header.e_phoff))
        return "its headers cannot be read";
    for (const ElfW(Phdr) & segment : segments) {
        if (segment.p_type != PT_LOAD && segment.p_type != PT_DYNAMIC)
            continue;
        if (!Within(segment.p_offset, 1, segment.p_filesz, fileSize))
            return "cut short: it ends before its contents";
    }
    return {};
}

} // namespace

std::string LibraryFileProblem(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? "missing" : std::strerror(errno);
    std::string problem = Check(fd);
    ::close(fd);
    return problem;
}

} // namespace tensiq
