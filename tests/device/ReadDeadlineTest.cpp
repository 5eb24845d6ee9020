// The deadline timer itself: one a thread, gone with its owner, ending the read it lands in by
// releasing the port's minimum, and harmless to a write it lands in.
#include "ReadDeadline.h"
#include "PseudoTerminalPair.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

class ReadDeadlineTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ReadDeadline::Available())
            GTEST_SKIP() << "a timer cannot end reads in this build";
    }
    static void WaitForExpiries(std::uint64_t count) {
        while (ReadDeadline::Expiries() < count)
            std::this_thread::sleep_for(1ms);
    }
};

} // namespace

TEST_F(ReadDeadlineTest, OneTimerAThreadAndNoneOnceItEnds) {
    {
        const ReadDeadline deadline;
        ASSERT_TRUE(deadline.Armed());
        const ReadDeadline second;
        EXPECT_FALSE(second.Armed()) << "a thread has one timer";
        EXPECT_TRUE(ReadDeadline::ArmedHere());
    }
    EXPECT_FALSE(ReadDeadline::ArmedHere());
    EXPECT_FALSE(ReadDeadline::BeginRead(-1, nullptr, ReadDeadline::Clock::now() + 1s));
    EXPECT_FALSE(ReadDeadline::EndRead());
}

// What the timer does at the deadline of a read: it applies the settings it was handed to the
// read's descriptor, once, and tells so.
TEST_F(ReadDeadlineTest, AtTheDeadlineTheReadsDescriptorGetsTheReleasedSettingsOnce) {
    test::PseudoTerminalPair pty;
    ASSERT_TRUE(pty.IsOpen());
    const int fd = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios waiting{};
    ASSERT_EQ(::tcgetattr(fd, &waiting), 0);
    ::cfmakeraw(&waiting);
    waiting.c_cc[VMIN] = 40;
    waiting.c_cc[VTIME] = 0;
    ASSERT_EQ(::tcsetattr(fd, TCSANOW, &waiting), 0);
    termios released = waiting;
    released.c_cc[VMIN] = 0;
    {
        const ReadDeadline deadline;
        ASSERT_TRUE(deadline.Armed());
        const std::uint64_t expiries = ReadDeadline::Expiries();
        ASSERT_TRUE(ReadDeadline::BeginRead(fd, &released, ReadDeadline::Clock::now() + 5ms));
        WaitForExpiries(expiries + 1);
        EXPECT_TRUE(ReadDeadline::EndRead());
        termios now{};
        ASSERT_EQ(::tcgetattr(fd, &now), 0);
        EXPECT_EQ(now.c_cc[VMIN], 0) << "the minimum that held the read is released";
        EXPECT_FALSE(ReadDeadline::EndRead()) << "told once";
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(ReadDeadline::Expiries(), expiries + 1) << "a timer goes off once a setting";
        EXPECT_FALSE(ReadDeadline::BeginRead(fd, &released, ReadDeadline::Clock::now() - 1ms))
            << "a read past its deadline must not block";
        ReadDeadline::EndRead();
    }
    ::close(fd);
}

// A timer that goes off in a blocked write must not end it: the record goes to a fifo or a pipe.
TEST_F(ReadDeadlineTest, AWriteToAFullPipeGoesOnThroughAnExpiry) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    // Fill the pipe, so that the next write blocks until the reader drains it.
    ASSERT_EQ(::fcntl(fds[1], F_SETFL, O_NONBLOCK), 0);
    const std::vector<char> chunk(4096, 'x');
    std::size_t filled = 0;
    for (ssize_t n; (n = ::write(fds[1], chunk.data(), chunk.size())) > 0;)
        filled += static_cast<std::size_t>(n);
    ASSERT_EQ(::fcntl(fds[1], F_SETFL, 0), 0);
    constexpr std::size_t kBytes = 256u << 10;
    std::size_t drained = 0;
    std::thread reader([&] {
        std::this_thread::sleep_for(100ms); // long after the deadline below
        std::vector<char> buffer(4096);
        for (ssize_t n; (n = ::read(fds[0], buffer.data(), buffer.size())) > 0;)
            drained += static_cast<std::size_t>(n);
    });
    std::uint64_t expiries = 0;
    {
        const ReadDeadline deadline;
        ASSERT_TRUE(deadline.Armed());
        const std::uint64_t before = ReadDeadline::Expiries();
        // No read to end: the timer only goes off, in the middle of the write.
        ASSERT_TRUE(ReadDeadline::BeginRead(-1, nullptr, ReadDeadline::Clock::now() + 10ms));
        ReadDeadline::EndRead();
        std::FILE* file = ::fdopen(fds[1], "w");
        ASSERT_NE(file, nullptr);
        const std::vector<char> data(kBytes, 'y');
        EXPECT_EQ(std::fwrite(data.data(), 1, data.size(), file), data.size());
        EXPECT_EQ(std::fflush(file), 0);
        EXPECT_FALSE(std::ferror(file));
        expiries = ReadDeadline::Expiries() - before;
        std::fclose(file);
    }
    reader.join();
    ::close(fds[0]);
    EXPECT_EQ(drained, filled + kBytes);
    EXPECT_EQ(expiries, 1u) << "the timer did go off while the write was blocked";
}
