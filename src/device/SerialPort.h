#pragma once
#include "LowLatency.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <termios.h>

namespace tensiq {

// One serial port used in a polling style: callers ask how much is queued and read only that.
// What the driver has queued is taken in with one read(2) into a buffer of the port's own, so a
// caller that asks for it piece by piece costs no further system calls; BytesWaiting counts the
// buffer and the driver's queue together. No lock: the device link's owner keeps the two
// threads out of it at the same time.
class SerialPort {
public:
    SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;
    virtual ~SerialPort();

    // Opens port n as PortDeviceName names it. On an open port: true, nothing changes.
    bool Open(int port, int baudRate);
    // Opens a tty by path (the command-line tool's --port PATH).
    bool OpenDevice(const std::string& path, int baudRate);
    bool Close();
    bool IsOpen() const { return m_open; }

    // The count of bytes actually written; fewer than length when a byte could not be
    // written within 1000 ms or the line failed.
    int Write(const void* data, int length);
    int BytesWaiting() const;
    int Read(void* buffer, int maximum);
    // What has been taken in and not yet read; no system call.
    int Buffered() const { return m_tail - m_head; }
    bool PurgeInput();

    // Waits until count bytes can be read, at most timeoutMs; true when they are buffered. The
    // driver is told to wake the caller only once they are all in, however the line hands them
    // on, and one read(2) then takes them with every byte behind them: one poll(2), one read(2).
    bool WaitForBytes(int count, int timeoutMs);
    // The same wait until deadline, made by one blocking read(2) that the calling thread's
    // ReadDeadline ends by then: the wake-up and the taking are one system call. Without an
    // armed ReadDeadline, or where the port could not be opened a second time for it, as
    // WaitForBytes.
    bool WaitForBytesUntil(int count, std::chrono::steady_clock::time_point deadline);
    // Whether the port has the blocking descriptor WaitForBytesUntil reads from.
    bool CanWaitByReading() const { return m_waitFd >= 0; }
    // The line hung up (adapter unplugged, other end gone): a wait returns at once and nothing
    // will ever come. Seen by WaitForBytes and BytesWaiting; cleared by the next open.
    bool HungUp() const { return m_hungUp.load(); }
    // Whether the driver hands bytes on at once (USB adapters); as found at the last Open.
    LowLatencyMode LowLatency() const { return m_lowLatency; }

    // errno of the last failed open (0 after a good one) and a sentence for the user.
    int LastOpenError() const { return m_openError; }
    std::string LastOpenErrorText() const;
    const std::string& DevicePath() const { return m_path; }

    // read(2) calls made since construction; lets tests see that an empty queue is not read.
    std::uint64_t SystemReadCount() const { return m_systemReads.load(); }
    // poll(2) calls made by WaitForBytes; lets tests see that a dead line is not spun on.
    std::uint64_t SystemPollCount() const { return m_systemPolls.load(); }

private:
    bool Fail(int error);
    void CloseDescriptor();
    // Takes in what the driver has queued, when it is something: one FIONREAD, one read.
    void TakeIn() const;
    // Takes in all the driver holds, as far as the buffer goes: one read, no FIONREAD.
    void TakeAll();
    // Moves what is not yet read to the buffer's start; the room behind it.
    int Compact();
    // A blocking descriptor of the open line, opened before the line is made exclusive.
    void OpenWaitDescriptor(const std::string& path);
    // The driver wakes a poll only once this many bytes are queued (VMIN; reads stay
    // non-blocking). Set only when it changes.
    bool WakeAfter(int bytes);

    int m_fd = -1;
    // The same line opened once more, blocking, for reads that a timer ends; -1 when not had.
    int m_waitFd = -1;
    bool m_open = false;
    bool m_exclusive = false;
    LowLatencyMode m_lowLatency = LowLatencyMode::NotApplicable;
    bool m_lowLatencySet = false;
    int m_openError = 0;
    std::string m_path;
    int m_wakeBytes = 0;
    termios m_termios{};
    mutable std::atomic<std::uint64_t> m_systemReads{0};
    mutable std::atomic<std::uint64_t> m_systemPolls{0};
    mutable std::atomic<bool> m_hungUp{false};
    // Received bytes taken in from the driver: [m_head, m_tail) not yet read.
    static constexpr int kBufferSize = 4096;
    mutable std::uint8_t m_buffer[kBufferSize] = {};
    mutable int m_head = 0;
    mutable int m_tail = 0;
};

} // namespace tensiq
