// The beat itself: one a thread, gone with its owner, and harmless to a write it lands in.
#include "WaitBeat.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tensiq;
using namespace std::chrono_literals;

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
