#include "SerialPort.h"
#include "PseudoTerminalPair.h"
#include "SimulatorFixture.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

using namespace tensiq;
using namespace std::chrono_literals;

class SerialPortTest : public test::SimulatorFixture {};

TEST_F(SerialPortTest, OpenOnAnOpenPortKeepsTheOldPort) {
    sim->AddDevice(1, Device("L 1.08"));
    sim->AddDevice(2, Device("M 2.00"));
    sim->Start();
    SerialPort port;
    ASSERT_TRUE(port.Open(1, 230400));
    EXPECT_TRUE(port.Open(2, 9600));
    EXPECT_EQ(port.DevicePath(), sim->LinkPath(1));
    const std::uint8_t v = 'V';
    ASSERT_EQ(port.Write(&v, 1), 1);
    ASSERT_TRUE(test::Eventually([&] { return port.BytesWaiting() >= 6; }));
    char reply[7] = {};
    EXPECT_EQ(port.Read(reply, 6), 6);
    EXPECT_STREQ(reply, "L 1.08");
}

TEST_F(SerialPortTest, ReadTakesOnlyWhatIsQueuedAndAtMostTheMaximum) {
    sim->AddDevice(1);
    sim->Start();
    SerialPort port;
    ASSERT_TRUE(port.Open(1, 230400));
    char buffer[16] = {};
    EXPECT_EQ(port.Read(buffer, sizeof buffer), 0);
    EXPECT_EQ(port.SystemReadCount(), 0u) << "an empty queue must not be read";

    const std::uint8_t v = 'V';
    port.Write(&v, 1);
    ASSERT_TRUE(test::Eventually([&] { return port.BytesWaiting() == 6; }));
    EXPECT_EQ(port.Read(buffer, 4), 4);
    EXPECT_EQ(port.BytesWaiting(), 2);
    EXPECT_EQ(port.Read(buffer + 4, 10), 2);
    EXPECT_EQ(std::string(buffer, 6), "L 1.08");
}

TEST_F(SerialPortTest, ClosedPortAndEmptyWritesDoNothing) {
    sim->AddSilent(1);
    sim->Start();
    SerialPort port;
    const std::uint8_t byte = 'X';
    char buffer[4];
    EXPECT_EQ(port.Write(&byte, 1), 0);
    EXPECT_EQ(port.BytesWaiting(), 0);
    EXPECT_EQ(port.Read(buffer, 4), 0);
    EXPECT_TRUE(port.PurgeInput()) << "nothing queued counts as purged";
    EXPECT_TRUE(port.Close());

    ASSERT_TRUE(port.Open(1, 230400));
    EXPECT_EQ(port.Write(&byte, 0), 0);
    EXPECT_EQ(port.Write(&byte, -3), 0);
    EXPECT_TRUE(port.Close());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.Close()) << "closing twice is harmless";
    EXPECT_TRUE(port.Open(1, 230400)) << "a port opens again after a close";
}

TEST_F(SerialPortTest, FailedOpensEndClosedWithTheirReason) {
    // A file that opens but is no tty: the line settings are refused.
    const std::string notATty = Root() + "/plain";
    ::close(::open(notATty.c_str(), O_CREAT | O_WRONLY, 0600));
    ::symlink(notATty.c_str(), (sim->PortDir() + "/COM3").c_str());
    SerialPort port;
    EXPECT_FALSE(port.Open(3, 230400));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LastOpenError(), ENOTTY);
    const std::uint8_t byte = 'X';
    EXPECT_EQ(port.Write(&byte, 1), 0) << "nothing is left open after a failed step";

    EXPECT_FALSE(port.Open(4, 230400));
    EXPECT_EQ(port.LastOpenError(), ENOENT);
    EXPECT_EQ(port.LastOpenErrorText(), "no such device");
    EXPECT_FALSE(port.Open(0, 230400));
    EXPECT_FALSE(port.Open(256, 230400));
}

TEST(SerialPortStall, AWriteThatCannotGoOutIsReportedShort) {
    // A pseudo-terminal whose far end never reads fills up; the write gives up after 1 s.
    test::PseudoTerminalPair pty;
    ASSERT_TRUE(pty.IsOpen());
    SerialPort port;
    ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), 230400));
    std::vector<std::uint8_t> data(4 << 20, 0x55);
    const auto start = std::chrono::steady_clock::now();
    const int written = port.Write(data.data(), static_cast<int>(data.size()));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GT(written, 0);
    EXPECT_LT(written, static_cast<int>(data.size()));
    EXPECT_GE(took, 900ms);
    port.Close();
}

TEST_F(SerialPortTest, APortHeldByOneObjectIsRefusedToAnotherUntilClosed) {
    sim->AddDevice(1);
    sim->Start();
    SerialPort first, second;
    ASSERT_TRUE(first.Open(1, 230400));
    EXPECT_FALSE(second.Open(1, 230400)) << "the lock holds for root too";
    EXPECT_EQ(second.LastOpenError(), EBUSY);
    EXPECT_EQ(second.LastOpenErrorText(), "the port is in use by another program");
    EXPECT_TRUE(first.IsOpen());
    first.Close();
    EXPECT_TRUE(second.Open(1, 230400));
}
