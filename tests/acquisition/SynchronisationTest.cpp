#include "AcquisitionThread.h"
#include "DeviceLink.h"
#include "PseudoTerminalPair.h"
#include "SimulatorFixture.h"

#include <fcntl.h>
#include <unistd.h>

using namespace tensiq;
using namespace std::chrono_literals;

namespace {

class CountingSink : public AcquisitionSink {
public:
    void OnFrame(const FrameUpdate&) override { ++frames; }
    void OnSynchronisationFailed(const std::string&) override { ++failures; }
    void OnConnectionLost(const std::string&) override {}
    void OnRecordFailed(const RecordFailure&) override {}
    std::atomic<int> frames{0};
    std::atomic<int> failures{0};
};

} // namespace

// The stream start is answered by bytes the test chooses, so the count of attempts is exact.
class SynchronisationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.IsOpen());
        m_master = m_pty.Master();
        ::fcntl(m_master, F_SETFL, O_NONBLOCK);
        ASSERT_TRUE(link.OpenDevice(m_pty.SlavePath()));
        context.link = &link;
        context.sink = &sink;
        thread.Start();
    }
    void TearDown() override {
        thread.StopRun();
        link.Close();
        m_pty.Close();
    }
    // Starts a run and, once the program has sent S, answers with what comes before the first
    // carriage return; all of it is queued before the synchronisation starts reading.
    void StartAnsweredBy(int bytesBeforeReturn) {
        thread.StartRun();
        std::string seen;
        const bool started = test::Eventually(
            [&] {
                char c;
                while (::read(m_master, &c, 1) == 1)
                    seen += c;
                return seen.find('S') != std::string::npos;
            },
            5s);
        ASSERT_TRUE(started) << seen;
        std::string answer(static_cast<std::size_t>(bytesBeforeReturn), 'x');
        answer += '\r';
        ASSERT_EQ(::write(m_master, answer.data(), answer.size()),
                  static_cast<ssize_t>(answer.size()));
    }
    void SendFrame() {
        std::uint8_t frame[40] = {0x4C};
        frame[39] = 0x0D;
        ASSERT_EQ(::write(m_master, frame, sizeof frame), 40);
    }

    DeviceLink link;
    AcquisitionContext context;
    CountingSink sink;
    AcquisitionThread thread{context};

private:
    test::PseudoTerminalPair m_pty;
    int m_master = -1;
};

TEST_F(SynchronisationTest, AReturnAtTheFortyFirstAttemptStillSynchronises) {
    StartAnsweredBy(40);
    SendFrame();
    ASSERT_TRUE(test::Eventually([&] { return sink.frames == 1; }, 5s));
    EXPECT_EQ(sink.failures, 0);
    EXPECT_NE(context.runFlag, 0);
}

TEST_F(SynchronisationTest, NoReturnWithinFortyOneAttemptsEndsTheRun) {
    StartAnsweredBy(41);
    SendFrame(); // would be taken if the return at the 42nd attempt still counted
    ASSERT_TRUE(test::Eventually([&] { return sink.failures == 1; }, 5s));
    EXPECT_EQ(context.runFlag, 0);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(sink.frames, 0);
    EXPECT_EQ(sink.failures, 1) << "the thread idles after the failure";
}
