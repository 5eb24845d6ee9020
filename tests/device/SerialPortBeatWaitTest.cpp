// Waiting for a frame on a beat: one blocking read is the wait and the taking, the beat ends a
// read that nothing ends, and a beat that lands anywhere else on the thread changes nothing.
#include "PseudoTerminalPair.h"
#include "SerialPort.h"
#include "WaitBeat.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

constexpr int kFrame = 40;
constexpr int kFallbackMs = 50;

class SerialPortBeatWait : public ::testing::Test {
protected:
    void SetUp() override {
        if (!WaitBeat::Available())
            GTEST_SKIP() << "beats cannot end reads in this build";
        ASSERT_TRUE(m_pty.IsOpen());
        ASSERT_TRUE(port.OpenDevice(m_pty.SlavePath(), 230400));
        ASSERT_TRUE(port.CanWaitOnBeat());
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

TEST(WaitBeat, OneBeatAThreadAndNoneOnceItEnds) {
    if (!WaitBeat::Available())
        GTEST_SKIP() << "beats cannot end reads in this build";
    {
        const WaitBeat beat(5ms);
        ASSERT_TRUE(beat.Armed());
        const WaitBeat second(5ms);
        EXPECT_FALSE(second.Armed()) << "a thread has one beat";
        const std::uint64_t before = WaitBeat::Beats();
        while (WaitBeat::Beats() - before < 3)
            std::this_thread::sleep_for(1ms);
    }
    EXPECT_FALSE(WaitBeat::ArmedHere());
    const std::uint64_t after = WaitBeat::Beats();
    std::this_thread::sleep_for(100ms);
    EXPECT_LE(WaitBeat::Beats() - after, 1u) << "at most one beat was still on its way";
}

// A beat that lands in a blocked write must not end it: the record goes to a fifo or a pipe.
TEST(WaitBeat, AWriteToAFullPipeGoesOnThroughTheBeats) {
    if (!WaitBeat::Available())
        GTEST_SKIP() << "beats cannot end reads in this build";
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    constexpr std::size_t kBytes = 4u << 20;
    std::size_t drained = 0;
    std::thread reader([&] {
        std::vector<char> chunk(4096);
        ssize_t n;
        // Slowly, so the writer blocks on a full pipe again and again.
        while ((n = ::read(fds[0], chunk.data(), chunk.size())) > 0) {
            drained += static_cast<std::size_t>(n);
            if (drained % (256u << 10) < chunk.size())
                std::this_thread::sleep_for(5ms);
        }
    });
    std::uint64_t beats = 0;
    {
        const WaitBeat beat(1ms);
        ASSERT_TRUE(beat.Armed());
        std::FILE* file = ::fdopen(fds[1], "w");
        ASSERT_NE(file, nullptr);
        const std::vector<char> data(kBytes, 'x');
        const std::uint64_t before = WaitBeat::Beats();
        EXPECT_EQ(std::fwrite(data.data(), 1, data.size(), file), data.size());
        EXPECT_EQ(std::fflush(file), 0);
        EXPECT_FALSE(std::ferror(file));
        beats = WaitBeat::Beats() - before;
        std::fclose(file);
    }
    reader.join();
    ::close(fds[0]);
    EXPECT_EQ(drained, kBytes);
    EXPECT_GT(beats, 10u) << "the beats did land while the write was blocked";
}
