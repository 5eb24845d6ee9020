#include "LowLatency.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace tensiq {

LowLatencyMode EnableLowLatency(int fd, bool& changedFlags) {
    changedFlags = false;
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0)
        return LowLatencyMode::NotApplicable;
    if ((serial.flags & ASYNC_LOW_LATENCY) != 0)
        return LowLatencyMode::On;
    serial.flags |= ASYNC_LOW_LATENCY;
    if (::ioctl(fd, TIOCSSERIAL, &serial) != 0)
        return LowLatencyMode::Refused;
    // Some drivers accept the call and ignore the flag.
    serial_struct check{};
    if (::ioctl(fd, TIOCGSERIAL, &check) != 0 || (check.flags & ASYNC_LOW_LATENCY) == 0)
        return LowLatencyMode::Refused;
    changedFlags = true;
    return LowLatencyMode::On;
}

void RestoreLowLatency(int fd, bool changedFlags) {
    serial_struct serial{};
    if (!changedFlags || ::ioctl(fd, TIOCGSERIAL, &serial) != 0)
        return;
    serial.flags &= ~ASYNC_LOW_LATENCY;
    ::ioctl(fd, TIOCSSERIAL, &serial);
}

const char* LowLatencyText(LowLatencyMode mode) {
    switch (mode) {
    case LowLatencyMode::On:
        return "on";
    case LowLatencyMode::Refused:
        return "refused by the driver";
    case LowLatencyMode::NotApplicable:
        break;
    }
    return "not applicable";
}

} // namespace tensiq
