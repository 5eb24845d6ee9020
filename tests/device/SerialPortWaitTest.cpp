// Waiting for a whole frame: the driver wakes the wait once the bytes are all in, however the
// line hands them on, and one read takes them with every byte behind them. Waiting by reading, the
// wait and the taking are that one read, and a timer ends a read that nothing ends by its deadline.
#include "PseudoTerminalPair.h"
#include "ReadDeadline.h"
#include "SerialPort.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

constexpr int kFrame = 40;

ReadDeadline::Clock::time_point In(std::chrono::milliseconds wait) {
    return ReadDeadline::Clock::now() + wait;
}

class SerialPortWait : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.IsOpen());
        ASSERT_TRUE(port.OpenDevice(m_pty.SlavePath(), 230400));
    }
    void Send(int bytes) {
        const std::vector<std::uint8_t> data(static_cast<std::size_t>(bytes), 0x4C);
        ASSERT_EQ(::write(m_pty.Master(), data.data(), data.size()), bytes);
    }
    void HangUp() { m_pty.Close(); }

    SerialPort port;

private:
    test::PseudoTerminalPair m_pty;
};

class SerialPortReadWait : public SerialPortWait {
protected:
    void SetUp() override {
        if (!ReadDeadline::Available())
            GTEST_SKIP() << "a timer cannot end reads in this build";
        SerialPortWait::SetUp();
        ASSERT_TRUE(port.CanWaitByReading());
    }
    void HangUpTheLineItself() {
        const int other = ::open(port.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(other, 0);
        const bool hungUp = ::ioctl(other, TIOCVHANGUP) == 0;
        const int error = errno;
        ::close(other);
        if (!hungUp && error == EPERM)
            GTEST_SKIP() << "hanging up a tty takes CAP_SYS_ADMIN";
        ASSERT_TRUE(hungUp) << std::strerror(error);
    }
};

} // namespace

TEST_F(SerialPortWait, AFrameInPiecesWakesTheWaitOnceItIsWhole) {
    for (int piece = 0; piece < 3; ++piece)
        Send(10);
    EXPECT_FALSE(port.WaitForBytes(kFrame, 20));
    EXPECT_EQ(port.SystemReadCount(), 0u) << "a wait that ends short of the frame reads nothing";
    Send(10);
    EXPECT_TRUE(port.WaitForBytes(kFrame, 5000));
    EXPECT_EQ(port.Buffered(), kFrame);
    EXPECT_EQ(port.SystemPollCount(), 2u);
    EXPECT_EQ(port.SystemReadCount(), 1u) << "the four pieces in one read";
}

TEST_F(SerialPortWait, ALateFrameSentInPiecesCostsOneWakeUpAndOneRead) {
    std::thread line([this] {
        std::this_thread::sleep_for(50ms);
        for (int piece = 0; piece < 4; ++piece) {
            Send(10);
            std::this_thread::sleep_for(10ms);
        }
    });
    const bool whole = port.WaitForBytes(kFrame, 5000);
    line.join();
    EXPECT_TRUE(whole);
    EXPECT_EQ(port.Buffered(), kFrame);
    EXPECT_EQ(port.SystemPollCount(), 1u) << "woken by the last piece only";
    EXPECT_EQ(port.SystemReadCount(), 1u);
}

TEST_F(SerialPortWait, AFrameThatNeverComesEndsTheWaitWithNothingRead) {
    EXPECT_FALSE(port.WaitForBytes(kFrame, 30));
    EXPECT_EQ(port.Buffered(), 0);
    EXPECT_EQ(port.SystemReadCount(), 0u);
    EXPECT_FALSE(port.HungUp());
    HangUp();
    EXPECT_FALSE(port.WaitForBytes(kFrame, 5000));
    EXPECT_TRUE(port.HungUp()) << "a dead line ends the wait and is told";
}

TEST_F(SerialPortWait, OneReadTakesEveryFrameWaitingAndTheNextWaitCountsWhatIsLeft) {
    Send(2 * kFrame + 20);
    ASSERT_TRUE(port.WaitForBytes(kFrame, 5000));
    EXPECT_EQ(port.Buffered(), 2 * kFrame + 20);
    EXPECT_EQ(port.SystemReadCount(), 1u);
    std::uint8_t frame[kFrame];
    ASSERT_EQ(port.Read(frame, kFrame), kFrame);
    ASSERT_TRUE(port.WaitForBytes(kFrame, 0)) << "a frame already in needs no wait";
    ASSERT_EQ(port.Read(frame, kFrame), kFrame);
    EXPECT_EQ(port.SystemPollCount(), 1u);
    EXPECT_FALSE(port.WaitForBytes(kFrame, 20)) << "20 bytes are no frame";
    Send(20);
    EXPECT_TRUE(port.WaitForBytes(kFrame, 5000)) << "the 20 missing bytes complete the frame";
    EXPECT_EQ(port.Buffered(), kFrame);
    EXPECT_EQ(port.SystemReadCount(), 2u);
    EXPECT_EQ(port.Read(frame, 1), 1);
    EXPECT_EQ(port.BytesWaiting(), kFrame - 1) << "the ordinary reads work on as before";
}

TEST_F(SerialPortReadWait, AFrameInPiecesIsOneReadOnceWhole) {
    const ReadDeadline deadline;
    ASSERT_TRUE(deadline.Armed());
    const std::uint64_t expiries = ReadDeadline::Expiries();
    Send(30);
    std::thread line([this] {
        std::this_thread::sleep_for(20ms);
        Send(10);
    });
    EXPECT_TRUE(port.WaitForBytesUntil(kFrame, In(60s)));
    line.join();
    EXPECT_EQ(port.Buffered(), kFrame);
    EXPECT_EQ(port.SystemReadCount(), 1u) << "the wait and the taking are one read";
    EXPECT_EQ(port.SystemPollCount(), 0u);
    EXPECT_EQ(ReadDeadline::Expiries(), expiries);
}

TEST_F(SerialPortReadWait, TheDeadlineEndsAWaitThatNothingEndsAndTheNextWaitWaitsAgain) {
    const ReadDeadline deadline;
    ASSERT_TRUE(deadline.Armed());
    Send(10);
    const std::uint64_t before = ReadDeadline::Expiries();
    EXPECT_FALSE(port.WaitForBytesUntil(kFrame, In(20ms)));
    EXPECT_EQ(port.Buffered(), 10) << "the read the timer ended took what had come";
    EXPECT_FALSE(port.HungUp()) << "an ended read is not a hang-up";
    // Each further wait lasts until its deadline: ending a read did not outlast it.
    EXPECT_FALSE(port.WaitForBytesUntil(kFrame, In(20ms)));
    EXPECT_FALSE(port.WaitForBytesUntil(kFrame, In(20ms)));
    EXPECT_EQ(ReadDeadline::Expiries() - before, 3u);
    EXPECT_EQ(port.SystemReadCount(), 3u);
    EXPECT_EQ(port.SystemPollCount(), 0u);
    Send(30);
    EXPECT_TRUE(port.WaitForBytesUntil(kFrame, In(20ms)));
    EXPECT_EQ(port.Buffered(), kFrame);
}

// While frames flow every wait ends with its frame: the timer set for an earlier wait stays as
// long as it would end a wait not long before its deadline, and is set again only when it
// would end one after its deadline or too long before.
TEST_F(SerialPortReadWait, TheTimerIsSetAgainOnlyWhenItWouldNotEndAWaitInTime) {
    const ReadDeadline deadline;
    ASSERT_TRUE(deadline.Armed());
    const std::uint64_t settings = ReadDeadline::Settings();
    const std::uint64_t expiries = ReadDeadline::Expiries();
    const auto first = In(10s);
    std::uint8_t frame[kFrame];
    const auto flow = [&](ReadDeadline::Clock::time_point until) {
        Send(kFrame);
        ASSERT_TRUE(port.WaitForBytesUntil(kFrame, until));
        ASSERT_EQ(port.Read(frame, kFrame), kFrame);
    };
    flow(first);
    for (int ms = 1; ms <= 25; ++ms)
        flow(first + std::chrono::milliseconds(ms));
    EXPECT_EQ(ReadDeadline::Settings() - settings, 1u) << "deadlines up to 25 ms after it";
    flow(first + 26ms);
    EXPECT_EQ(ReadDeadline::Settings() - settings, 2u) << "one more than 25 ms after it";
    flow(first + 20ms);
    EXPECT_EQ(ReadDeadline::Settings() - settings, 3u) << "one before it";
    EXPECT_EQ(port.SystemReadCount(), 28u);
    EXPECT_EQ(ReadDeadline::Expiries(), expiries);
}

TEST_F(SerialPortReadWait, AWaitWhoseDeadlineHasPassedSetsNoTimer) {
    const ReadDeadline deadline;
    const std::uint64_t settings = ReadDeadline::Settings();
    Send(10);
    EXPECT_FALSE(port.WaitForBytesUntil(kFrame, In(-1ms)));
    EXPECT_EQ(ReadDeadline::Settings(), settings) << "no timer for a wait that is over";
}

TEST_F(SerialPortReadWait, AHangUpEndsTheWaitAndIsTold) {
    const ReadDeadline deadline;
    std::thread line([this] {
        std::this_thread::sleep_for(20ms);
        HangUp();
    });
    EXPECT_FALSE(port.WaitForBytesUntil(kFrame, In(60s)));
    line.join();
    EXPECT_TRUE(port.HungUp());
    EXPECT_FALSE(port.WaitForBytesUntil(kFrame, In(60s))) << "and a dead line at once";
}

// A tty that is hung up itself (a modem line dropping its carrier) answers a read with 0, not
// EIO, and refuses every setting: seen by a wait whose minimum is set already and by one that
// has yet to set it.
TEST_F(SerialPortReadWait, AHangUpOfTheLineItselfEndsAWaitWithItsMinimumSet) {
    const ReadDeadline deadline;
    Send(kFrame);
    ASSERT_TRUE(port.WaitForBytesUntil(kFrame, In(60s)));
    std::uint8_t frame[kFrame];
    ASSERT_EQ(port.Read(frame, kFrame), kFrame);
    HangUpTheLineItself();
    if (IsSkipped() || HasFatalFailure())
        return;
    EXPECT_FALSE(port.WaitForBytesUntil(kFrame, In(60s)));
    EXPECT_TRUE(port.HungUp());
}

TEST_F(SerialPortReadWait, AHangUpOfTheLineItselfEndsAWaitThatCannotSetItsMinimum) {
    const ReadDeadline deadline;
    HangUpTheLineItself();
    if (IsSkipped() || HasFatalFailure())
        return;
    EXPECT_FALSE(port.WaitForBytesUntil(kFrame, In(60s)));
    EXPECT_TRUE(port.HungUp());
}

TEST_F(SerialPortReadWait, WithoutATimerOnTheThreadTheWaitPolls) {
    Send(10);
    EXPECT_FALSE(port.WaitForBytesUntil(kFrame, In(20ms)));
    EXPECT_EQ(port.SystemPollCount(), 1u);
    EXPECT_EQ(port.SystemReadCount(), 0u);
    std::thread other([&] {
        const ReadDeadline deadline;
        EXPECT_TRUE(deadline.Armed());
    });
    other.join();
    EXPECT_FALSE(ReadDeadline::ArmedHere()) << "a timer belongs to the thread that armed it";
}
