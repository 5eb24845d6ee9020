#include "LowLatency.h"
#include "SerialPort.h"
#include "SimulatorFixture.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace tensiq;

class LowLatency : public test::SimulatorFixture {};

TEST_F(LowLatency, APortWithoutSerialSettingsOpensAllTheSame) {
    sim->AddDevice(1, Device());
    sim->Start();
    SerialPort port;
    ASSERT_TRUE(port.Open(1, 230400));
    EXPECT_EQ(port.LowLatency(), LowLatencyMode::NotApplicable);
    EXPECT_STREQ(LowLatencyText(port.LowLatency()), "not applicable");
}

namespace {

bool LowLatencyFlag(const char* path, bool& on) {
    const int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    serial_struct serial{};
    const bool ok = fd >= 0 && ::ioctl(fd, TIOCGSERIAL, &serial) == 0;
    on = (serial.flags & ASYNC_LOW_LATENCY) != 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

} // namespace

// A UART's driver has the settings; root may switch them. Skipped where no such port opens.
TEST(LowLatencyUart, SwitchedOnWhileOpenAndBackAfterClose) {
    const char* path = "/dev/ttyS0";
    bool before = false;
    if (!LowLatencyFlag(path, before))
        GTEST_SKIP() << path << " has no serial settings that this user can read";
    SerialPort port;
    if (!port.OpenDevice(path, 230400))
        GTEST_SKIP() << path << ": " << port.LastOpenErrorText();
    const LowLatencyMode mode = port.LowLatency();
    ASSERT_NE(mode, LowLatencyMode::NotApplicable);
    bool during = false;
    ASSERT_TRUE(LowLatencyFlag(path, during));
    EXPECT_EQ(during, mode == LowLatencyMode::On);
    port.Close();
    bool after = true;
    ASSERT_TRUE(LowLatencyFlag(path, after));
    EXPECT_EQ(after, before) << "the driver's setting is left as it was found";
}
