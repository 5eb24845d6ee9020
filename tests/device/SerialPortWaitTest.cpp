// Waiting for a whole frame: the driver wakes the wait once the bytes are all in, however the
// line hands them on, and one read takes them with every byte behind them.
#include "PseudoTerminalPair.h"
#include "SerialPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

constexpr int kFrame = 40;

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
