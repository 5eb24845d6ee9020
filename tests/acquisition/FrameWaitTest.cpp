// The frame wait on a line the test drives by hand, at the frame wait's own pauses: a frame in
// pieces, a late frame, and none at all.
#include "HandDrivenLineFixture.h"
#include "ReadDeadline.h"
#include "RunTool.h"

#include <algorithm>
#include <filesystem>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

constexpr int kFramePauseMs = 50;

} // namespace

class FrameWaitTest : public test::HandDrivenLineFixture {
protected:
    // Starts a run whose stream start is answered with a carriage return; from then on the
    // frame wait's pauses are counted and each is handed to atPause (on the acquisition thread).
    void StartSynchronised(std::function<void(int pause)> atPause,
                           std::function<void()> atFrame = {}) {
        thread.SetStepHook([this, atPause](AcquisitionStep step) {
            if (step != AcquisitionStep::StreamStart)
                return;
            ++streamStarts;
            ObservePausesOnThisThread([this, atPause](int ms) {
                if (ms != kFramePauseMs)
                    return; // the stream start's own pauses
                const int n = ++pauses;
                if (atPause)
                    atPause(n);
            });
        });
        sink.onFrame = [this, atFrame] {
            pausesAtFirstFrame.store(pauses.load());
            if (atFrame)
                atFrame();
        };
        StartRunUntilStreamStart();
        Send(std::string(1, '\r'));
    }

    std::atomic<int> streamStarts{0};
    std::atomic<int> pauses{0};
    std::atomic<int> pausesAtFirstFrame{-1};
};

TEST_F(FrameWaitTest, AFrameThatNeverComesRestartsTheStreamAfterTenPauses) {
    std::atomic<int> pausesAtRestart{-1};
    StartSynchronised([&](int) {
        if (streamStarts == 1)
            pausesAtRestart = pauses.load();
    });
    ASSERT_TRUE(test::Eventually([&] { return streamStarts >= 2; }, 5s));
    EXPECT_EQ(pausesAtRestart, 10) << "every pause but the stream start's own was a frame wait";
    EXPECT_EQ(sink.frames, 0);
}

TEST_F(FrameWaitTest, ALateFrameEndsThePauseItComesInAndIsTaken) {
    StartSynchronised([&](int pause) {
        if (pause == 3)
            Send(Frame());
    });
    ASSERT_TRUE(test::Eventually([&] { return sink.frames == 1; }, 5s));
    EXPECT_EQ(pausesAtFirstFrame, 4) << "taken in the pause after it was sent";
    EXPECT_EQ(streamStarts, 1) << "no restart for a frame within ten pauses";
}

TEST_F(FrameWaitTest, AFrameInPiecesIsTakenByThePausesOwnReads) {
    std::atomic<std::uint64_t> readsBefore{0}, readsAtFrame{0};
    const std::string frame = Frame();
    StartSynchronised(
        [&](int pause) {
            if (pause == 1)
                readsBefore = link.Port().SystemReadCount();
            if (pause <= 4)
                Send(frame.substr(static_cast<std::size_t>(pause - 1) * 10, 10));
        },
        [&] { readsAtFrame = link.Port().SystemReadCount(); });
    ASSERT_TRUE(test::Eventually([&] { return sink.frames == 1; }, 5s));
    EXPECT_EQ(pausesAtFirstFrame, 5) << "whole in the pause its last piece came in";
    // Waiting by reading, each pause is one read, which its deadline ends with the piece that
    // has come and the last piece ends at once: pauses 2 to 5, and no read besides. Waiting
    // with poll, the pieces stay in the driver until whole and one read takes them.
    EXPECT_EQ(readsAtFrame - readsBefore, ReadDeadline::Available() ? 4u : 1u);
    EXPECT_EQ(streamStarts, 1);
}

// A stream that stalls leaves its last line unflushed while the pauses run out (the first line
// of a record goes to the file at once, the second does not); the wait for that line's due time
// is no pause, so the line is in the file before the first pause after it ends, whichever way
// the pauses wait.
TEST_F(FrameWaitTest, AStalledStreamHasItsLastLineInTheFileBeforeThePausesGoOn) {
    const std::string folder = test::MakeTempFolder("frame-wait");
    context.recordPath = folder + "/temp.txt";
    std::atomic<long> linesAtPause3{-1};
    StartSynchronised([&](int pause) {
        if (pause == 1)
            Send(Frame() + Frame());
        if (pause == 3) {
            const std::string text = test::ReadFile(context.recordPath);
            linesAtPause3 = static_cast<long>(std::count(text.begin(), text.end(), '\n'));
        }
    });
    ASSERT_TRUE(test::Eventually([&] { return linesAtPause3 != -1; }, 5s));
    EXPECT_EQ(pausesAtFirstFrame, 2);
    EXPECT_EQ(linesAtPause3, 3) << "the heading and the two frames' lines";
    thread.StopRun();
    std::filesystem::remove_all(folder);
}
