#include "SerialPort.h"

#include "LowLatency.h"
#include "PortName.h"
#include "ReadDeadline.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tensiq {

namespace {

constexpr int kWriteStallMs = 1000;

bool BaudConstant(int rate, speed_t& out) {
    switch (rate) {
    case 9600:
        out = B9600;
        return true;
    case 19200:
        out = B19200;
        return true;
    case 38400:
        out = B38400;
        return true;
    case 57600:
        out = B57600;
        return true;
    case 115200:
        out = B115200;
        return true;
    case 230400:
        out = B230400;
        return true;
    case 460800:
        out = B460800;
        return true;
    default:
        return false;
    }
}

} // namespace

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::Open(int port, int baudRate) {
    if (m_open)
        return true;
    const std::string path = PortDeviceName(port);
    if (path.empty()) {
        m_openError = ENODEV;
        return false;
    }
    return OpenDevice(path, baudRate);
}

bool SerialPort::OpenDevice(const std::string& path, int baudRate) {
    if (m_open)
        return true;
    m_path = path;
    speed_t speed{};
    if (!BaudConstant(baudRate, speed)) {
        m_openError = EINVAL;
        return false;
    }
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return Fail(errno);
    // Another program on the same port would steal bytes from either side. TIOCEXCL alone
    // does not keep root out, so the lock is what holds; a lock already held is EBUSY.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        return Fail(errno == EWOULDBLOCK ? EBUSY : errno);
    OpenWaitDescriptor(path);
    if (::ioctl(m_fd, TIOCEXCL) != 0)
        return Fail(errno);
    m_exclusive = true;
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return Fail(errno);
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0)
        return Fail(errno);
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0)
        return Fail(errno);
    m_termios = tio;
    m_wakeBytes = 0;
    m_lowLatency = EnableLowLatency(m_fd, m_lowLatencySet);
    m_open = true;
    m_openError = 0;
    m_hungUp = false;
    return true;
}

void SerialPort::OpenWaitDescriptor(const std::string& path) {
    // Opened without waiting for a carrier, then made blocking: this description only.
    m_waitFd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_waitFd < 0)
        return;
    const int flags = ::fcntl(m_waitFd, F_GETFL);
    if (flags < 0 || ::fcntl(m_waitFd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(m_waitFd);
        m_waitFd = -1;
    }
}

bool SerialPort::Fail(int error) {
    m_openError = error;
    if (m_fd >= 0)
        CloseDescriptor();
    m_fd = -1;
    m_open = false;
    return false;
}

std::string SerialPort::LastOpenErrorText() const {
    switch (m_openError) {
    case 0:
        return {};
    case EACCES:
    case EPERM:
        return "permission denied: add the user to the dialout group";
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return "no such device";
    case EBUSY:
        return "the port is in use by another program";
    case ENOTTY:
    case EINVAL:
        return "not a serial port, or the line settings were refused";
    default:
        return std::strerror(m_openError);
    }
}

bool SerialPort::Close() {
    if (!m_open || m_fd < 0)
        return true;
    PurgeInput();
    CloseDescriptor();
    m_fd = -1;
    m_open = false;
    return true;
}

// On a pseudo-terminal TIOCEXCL outlives the descriptor and would keep every later open by an
// ordinary user out; the lock goes with the descriptor.
void SerialPort::CloseDescriptor() {
    m_head = m_tail = 0;
    RestoreLowLatency(m_fd, m_lowLatencySet);
    m_lowLatencySet = false;
    if (m_exclusive)
        ::ioctl(m_fd, TIOCNXCL);
    m_exclusive = false;
    if (m_waitFd >= 0)
        ::close(m_waitFd);
    m_waitFd = -1;
    ::close(m_fd);
}

int SerialPort::Write(const void* data, int length) {
    if (!m_open || m_fd < 0 || length <= 0)
        return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    int written = 0;
    while (written < length) {
        const ssize_t n = ::write(m_fd, bytes + written, static_cast<size_t>(length - written));
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            break;
        pollfd p{m_fd, POLLOUT, 0};
        int r;
        do {
            r = ::poll(&p, 1, kWriteStallMs);
        } while (r < 0 && errno == EINTR);
        if (r <= 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
            break;
    }
    return written;
}

void SerialPort::TakeIn() const {
    if (!m_open || m_fd < 0)
        return;
    int queued = 0;
    if (::ioctl(m_fd, FIONREAD, &queued) != 0) {
        // A hung-up tty answers every ioctl with EIO.
        if (errno == EIO)
            m_hungUp = true;
        return;
    }
    if (queued <= 0)
        return; // an empty queue is never read
    if (m_head == m_tail)
        m_head = m_tail = 0;
    else if (m_tail + queued > kBufferSize) {
        std::memmove(m_buffer, m_buffer + m_head, static_cast<std::size_t>(m_tail - m_head));
        m_tail -= m_head;
        m_head = 0;
    }
    const int room = std::min(queued, kBufferSize - m_tail);
    if (room <= 0)
        return;
    ssize_t got;
    do {
        ++m_systemReads;
        got = ::read(m_fd, m_buffer + m_tail, static_cast<size_t>(room));
    } while (got < 0 && errno == EINTR);
    if (got > 0)
        m_tail += static_cast<int>(got);
}

int SerialPort::BytesWaiting() const {
    if (!m_open || m_fd < 0)
        return 0;
    TakeIn();
    int queued = 0;
    // Beyond a full buffer the driver still holds the rest.
    if (m_tail - m_head == kBufferSize - m_head && ::ioctl(m_fd, FIONREAD, &queued) != 0)
        queued = 0;
    return m_tail - m_head + queued;
}

int SerialPort::Read(void* buffer, int maximum) {
    if (!m_open || m_fd < 0 || maximum <= 0)
        return 0;
    if (m_tail - m_head < maximum)
        TakeIn();
    const int n = std::min(m_tail - m_head, maximum);
    if (n <= 0)
        return 0;
    std::memcpy(buffer, m_buffer + m_head, static_cast<std::size_t>(n));
    m_head += n;
    return n;
}

bool SerialPort::PurgeInput() {
    if (BytesWaiting() == 0)
        return true;
    if (!m_open || m_fd < 0)
        return false;
    m_head = m_tail = 0;
    return ::tcflush(m_fd, TCIFLUSH) == 0;
}

bool SerialPort::WakeAfter(int bytes) {
    if (bytes == m_wakeBytes)
        return true;
    termios tio = m_termios;
    tio.c_cc[VMIN] = static_cast<cc_t>(bytes);
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0)
        return false;
    m_wakeBytes = bytes;
    return true;
}

int SerialPort::Compact() {
    if (m_head == m_tail)
        m_head = m_tail = 0;
    else if (m_head > 0) {
        std::memmove(m_buffer, m_buffer + m_head, static_cast<std::size_t>(m_tail - m_head));
        m_tail -= m_head;
        m_head = 0;
    }
    return kBufferSize - m_tail;
}

void SerialPort::TakeAll() {
    if (Compact() == 0)
        return;
    ssize_t got;
    do {
        ++m_systemReads;
        got = ::read(m_fd, m_buffer + m_tail, static_cast<size_t>(kBufferSize - m_tail));
    } while (got < 0 && errno == EINTR);
    if (got > 0)
        m_tail += static_cast<int>(got);
    else if (got < 0 && errno == EIO)
        m_hungUp = true;
}

bool SerialPort::WaitForBytes(int count, int timeoutMs) {
    if (!m_open || m_fd < 0)
        return false;
    if (Buffered() >= count)
        return true;
    // A VMIN the driver refuses leaves the wake at the first byte: more wake-ups, same result.
    if (!WakeAfter(std::clamp(count - Buffered(), 1, 255)))
        WakeAfter(1);
    pollfd p{m_fd, POLLIN, 0};
    int r;
    do {
        ++m_systemPolls;
        r = ::poll(&p, 1, timeoutMs);
    } while (r < 0 && errno == EINTR);
    // What came before a hang-up is still taken in.
    if (r > 0 && (p.revents & POLLIN) != 0)
        TakeAll();
    if (r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
        m_hungUp = true;
    return Buffered() >= count;
}

bool SerialPort::WaitForBytesUntil(int count, std::chrono::steady_clock::time_point deadline) {
    if (!m_open || m_fd < 0)
        return false;
    if (Buffered() >= count)
        return true;
    const auto poll = [&] {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        return WaitForBytes(count, static_cast<int>(std::clamp<long long>(left.count(), 0, 60000)));
    };
    // A read whose minimum could not be set (a hung-up line refuses every setting) would not
    // wait at all: poll, which also sees the hang-up.
    if (m_waitFd < 0 || !ReadDeadline::ArmedHere() ||
        (!WakeAfter(std::clamp(count - Buffered(), 1, 255)) && !WakeAfter(1)))
        return poll();
    const int room = Compact();
    if (room == 0)
        return Buffered() >= count;
    // m_termios keeps VMIN at 0: what the timer applies to end the read.
    const bool reading = ReadDeadline::BeginRead(m_waitFd, &m_termios, deadline);
    ssize_t got = 0;
    int error = 0;
    if (reading) {
        got = ::read(m_waitFd, m_buffer + m_tail, static_cast<size_t>(room));
        error = errno;
    }
    if (ReadDeadline::EndRead())
        m_wakeBytes = 0;
    if (!reading)
        return poll();
    ++m_systemReads;
    if (got > 0)
        m_tail += static_cast<int>(got);
    else if ((got < 0 && error == EIO) || (got == 0 && m_wakeBytes > 0))
        m_hungUp = true; // a read that waits for bytes comes back empty only from a hung-up line
    return Buffered() >= count;
}

} // namespace tensiq
