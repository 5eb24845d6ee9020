#include "HandDrivenLineFixture.h"

using namespace tensiq;
using namespace std::chrono_literals;

// The stream start is answered by bytes the test chooses, so the count of attempts is exact.
class SynchronisationTest : public test::HandDrivenLineFixture {
protected:
    // Answers the stream start with what comes before the first carriage return; all of it is
    // queued before the synchronisation starts reading.
    void StartAnsweredBy(int bytesBeforeReturn) {
        StartRunUntilStreamStart();
        Send(std::string(static_cast<std::size_t>(bytesBeforeReturn), 'x') + '\r');
    }
};

TEST_F(SynchronisationTest, AReturnAtTheFortyFirstAttemptStillSynchronises) {
    StartAnsweredBy(40);
    Send(Frame());
    ASSERT_TRUE(test::Eventually([&] { return sink.frames == 1; }, 5s));
    EXPECT_EQ(sink.failures, 0);
    EXPECT_NE(context.runFlag, 0);
}

TEST_F(SynchronisationTest, NoReturnWithinFortyOneAttemptsEndsTheRun) {
    StartAnsweredBy(41);
    Send(Frame()); // would be taken if the return at the 42nd attempt still counted
    ASSERT_TRUE(test::Eventually([&] { return sink.failures == 1; }, 5s));
    EXPECT_EQ(context.runFlag, 0);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(sink.frames, 0);
    EXPECT_EQ(sink.failures, 1) << "the thread idles after the failure";
}
