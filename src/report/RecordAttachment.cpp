#include "RecordAttachment.h"

#include "FileDescriptor.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tensiq::report {

namespace {

std::string SystemError(const std::string& path, int error) {
    return path + ": " + std::strerror(error);
}

// One pass of deflate at its fastest level: the records' digits compress about threefold
// either way, and the higher levels cost several times the time.
class Deflater {
public:
    bool Start(std::string& out, std::uint64_t sizeHint) {
        m_out = &out;
        out.clear();
        out.reserve(static_cast<std::size_t>(sizeHint / 3 + 64));
        m_started = deflateInit(&m_z, Z_BEST_SPEED) == Z_OK;
        return m_started;
    }
    ~Deflater() {
        if (m_started)
            deflateEnd(&m_z);
    }
    Deflater() = default;
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    bool Add(const char* data, std::size_t size, bool end) {
        m_z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        m_z.avail_in = static_cast<uInt>(size);
        int status = Z_OK;
        do {
            const std::size_t used = m_out->size();
            m_out->resize(used + kStep);
            m_z.next_out = reinterpret_cast<Bytef*>(m_out->data() + used);
            m_z.avail_out = kStep;
            status = deflate(&m_z, end ? Z_FINISH : Z_NO_FLUSH);
            m_out->resize(used + kStep - m_z.avail_out);
            if (status == Z_STREAM_ERROR)
                return false;
        } while (m_z.avail_out == 0 || (end && status != Z_STREAM_END));
        return true;
    }

private:
    static constexpr uInt kStep = 256 * 1024;
    z_stream m_z{};
    std::string* m_out = nullptr;
    bool m_started = false;
};

struct DigestFree {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};

} // namespace

bool ReadRecordFile(const std::string& path, const std::string& name, RecordAttachment* attachment,
                    std::string& sha256, std::string& error) {
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0) {
        error = SystemError(path, errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = SystemError(path, EISDIR);
        return false;
    }
    const std::unique_ptr<EVP_MD_CTX, DigestFree> digest(EVP_MD_CTX_new());
    if (!digest || EVP_DigestInit_ex(digest.get(), EVP_sha256(), nullptr) != 1) {
        error = path + ": the SHA-256 digest cannot start";
        return false;
    }
    Deflater deflater;
    if (attachment != nullptr) {
        attachment->name = name;
        attachment->size = 0;
        if (!deflater.Start(attachment->deflated, static_cast<std::uint64_t>(st.st_size))) {
            error = path + ": compression cannot start";
            return false;
        }
    }
    std::vector<char> buffer(1024 * 1024);
    std::uint64_t total = 0;
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = SystemError(path, errno);
            return false;
        }
        const auto n = static_cast<std::size_t>(got);
        total += n;
        EVP_DigestUpdate(digest.get(), buffer.data(), n);
        if (attachment != nullptr && !deflater.Add(buffer.data(), n, n == 0)) {
            error = path + ": compression failed";
            return false;
        }
        if (n == 0)
            break;
    }
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int mdSize = 0;
    EVP_DigestFinal_ex(digest.get(), md, &mdSize);
    static constexpr char kHex[] = "0123456789abcdef";
    sha256.clear();
    for (unsigned int i = 0; i < mdSize; ++i) {
        sha256 += kHex[md[i] >> 4];
        sha256 += kHex[md[i] & 15];
    }
    if (attachment != nullptr)
        attachment->size = total;
    return true;
}

} // namespace tensiq::report
