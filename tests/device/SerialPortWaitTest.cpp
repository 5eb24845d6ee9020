// Waiting for a whole frame: the driver wakes the wait once the bytes are all in, however the
// line hands them on, and one read takes them with every byte behind them. On a beat the wait
// and the taking are that one read, and the beat ends a read that nothing ends.
#include "PseudoTerminalPair.h"
#include "SerialPort.h"
#include "WaitBeat.h"

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
constexpr int kFallbackMs = 50; // the poll's limit where no beat is armed

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

class SerialPortBeatWait : public SerialPortWait {
protected:
    void SetUp() override {
        if (!WaitBeat::Available())
            GTEST_SKIP() << "beats cannot end reads in this build";
        SerialPortWait::SetUp();
        ASSERT_TRUE(port.CanWaitOnBeat());
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

TEST_F(SerialPortBeatWait, AFrameInPiecesIsOneReadOnceWhole) {
    const WaitBeat beat(60s); // no beat falls in this test
    ASSERT_TRUE(beat.Armed());
    Send(30);
    std::thread line([this] {
        std::this_thread::sleep_for(20ms);
        Send(10);
    });
    EXPECT_TRUE(port.WaitForBytesOnBeat(kFrame, kFallbackMs));
    line.join();
    EXPECT_EQ(port.Buffered(), kFrame);
    EXPECT_EQ(port.SystemReadCount(), 1u) << "the wait and the taking are one read";
    EXPECT_EQ(port.SystemPollCount(), 0u);
}

TEST_F(SerialPortBeatWait, TheBeatEndsAWaitThatNothingEndsAndTheNextWaitWaitsAgain) {
    const WaitBeat beat(20ms);
    ASSERT_TRUE(beat.Armed());
    Send(10);
    const std::uint64_t before = WaitBeat::Beats();
    EXPECT_FALSE(port.WaitForBytesOnBeat(kFrame, kFallbackMs));
    EXPECT_EQ(port.Buffered(), 10) << "the read the beat ended took what had come";
    EXPECT_FALSE(port.HungUp()) << "an ended read is not a hang-up";
    // Each further wait lasts until a beat: the beat's release of the read did not outlast it.
    EXPECT_FALSE(port.WaitForBytesOnBeat(kFrame, kFallbackMs));
    EXPECT_FALSE(port.WaitForBytesOnBeat(kFrame, kFallbackMs));
    EXPECT_GE(WaitBeat::Beats() - before, 3u);
    EXPECT_EQ(port.SystemReadCount(), 3u);
    Send(30);
    EXPECT_TRUE(port.WaitForBytesOnBeat(kFrame, kFallbackMs));
    EXPECT_EQ(port.Buffered(), kFrame);
}

TEST_F(SerialPortBeatWait, AHangUpEndsTheWaitAndIsTold) {
    const WaitBeat beat(60s);
    std::thread line([this] {
        std::this_thread::sleep_for(20ms);
        HangUp();
    });
    EXPECT_FALSE(port.WaitForBytesOnBeat(kFrame, kFallbackMs));
    line.join();
    EXPECT_TRUE(port.HungUp());
    EXPECT_FALSE(port.WaitForBytesOnBeat(kFrame, kFallbackMs)) << "and a dead line at once";
}

// A tty that is hung up itself (a modem line dropping its carrier) answers a read with 0, not
// EIO, and refuses every setting: seen by a wait whose minimum is set already and by one that
// has yet to set it.
TEST_F(SerialPortBeatWait, AHangUpOfTheLineItselfEndsAWaitWithItsMinimumSet) {
    const WaitBeat beat(60s);
    Send(kFrame);
    ASSERT_TRUE(port.WaitForBytesOnBeat(kFrame, kFallbackMs));
    std::uint8_t frame[kFrame];
    ASSERT_EQ(port.Read(frame, kFrame), kFrame);
    HangUpTheLineItself();
    if (IsSkipped() || HasFatalFailure())
        return;
    EXPECT_FALSE(port.WaitForBytesOnBeat(kFrame, kFallbackMs));
    EXPECT_TRUE(port.HungUp());
}

TEST_F(SerialPortBeatWait, AHangUpOfTheLineItselfEndsAWaitThatCannotSetItsMinimum) {
    const WaitBeat beat(60s);
    HangUpTheLineItself();
    if (IsSkipped() || HasFatalFailure())
        return;
    EXPECT_FALSE(port.WaitForBytesOnBeat(kFrame, kFallbackMs));
    EXPECT_TRUE(port.HungUp());
}

TEST_F(SerialPortBeatWait, WithoutABeatOnTheThreadTheWaitPolls) {
    Send(10);
    EXPECT_FALSE(port.WaitForBytesOnBeat(kFrame, 20));
    EXPECT_EQ(port.SystemPollCount(), 1u);
    EXPECT_EQ(port.SystemReadCount(), 0u);
    std::thread other([&] {
        const WaitBeat beat(60s);
        EXPECT_TRUE(beat.Armed());
    });
    other.join();
    EXPECT_FALSE(WaitBeat::ArmedHere()) << "a beat belongs to the thread that armed it";
}
