// The frame wait on a line the test drives by hand, at the frame wait's own pauses: a frame in
// pieces, a late frame, and none at all.
#include "AcquisitionThread.h"
#include "DeviceLink.h"
#include "PseudoTerminalPair.h"
#include "SimulatorFixture.h"

#include <fcntl.h>
#include <unistd.h>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

constexpr int kFramePauseMs = 50;

class FrameSink : public AcquisitionSink {
public:
    void OnFrame(const FrameUpdate&) override {
        if (onFrame)
            onFrame();
        ++frames;
    }
    void OnSynchronisationFailed(const std::string&) override { ++failures; }
    void OnConnectionLost(const std::string&) override {}
    void OnRecordFailed(const RecordFailure&) override {}
    std::function<void()> onFrame; // on the acquisition thread
    std::atomic<int> frames{0};
    std::atomic<int> failures{0};
};

} // namespace

class FrameWaitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.IsOpen());
        m_master = m_pty.Master();
        ::fcntl(m_master, F_SETFL, O_NONBLOCK);
        ASSERT_TRUE(link.OpenDevice(m_pty.SlavePath()));
        context.link = &link;
        context.sink = &sink;
    }
    void TearDown() override {
        thread.StopRun();
        link.Close();
        m_pty.Close();
    }
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
        thread.Start();
        thread.StartRun();
        std::string seen;
        ASSERT_TRUE(test::Eventually(
            [&] {
                char c;
                while (::read(m_master, &c, 1) == 1)
                    seen += c;
                return seen.find('S') != std::string::npos;
            },
            5s))
            << seen;
        Send(std::string(1, '\r'));
    }
    void Send(const std::string& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    static std::string Frame() {
        std::string frame(40, '\0');
        frame[0] = 0x4C;
        frame[39] = 0x0D;
        return frame;
    }

    DeviceLink link;
    AcquisitionContext context;
    FrameSink sink;
    AcquisitionThread thread{context};
    std::atomic<int> streamStarts{0};
    std::atomic<int> pauses{0};
    std::atomic<int> pausesAtFirstFrame{-1};

private:
    test::PseudoTerminalPair m_pty;
    int m_master = -1;
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

TEST_F(FrameWaitTest, AFrameInPiecesIsTakenByOneReadOnceItIsWhole) {
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
    EXPECT_EQ(pausesAtFirstFrame, 5);
    EXPECT_EQ(readsAtFrame - readsBefore, 1u) << "the pieces wait in the driver until whole";
    EXPECT_EQ(streamStarts, 1);
}
