#pragma once

namespace tensiq {

// A USB serial adapter holds received bytes back for its latency timer (16 ms on many) unless
// its driver runs in low-latency mode.
enum class LowLatencyMode {
    NotApplicable, // the tty has no serial driver settings (a pseudo-terminal, for one)
    Refused,       // the driver has them but would not switch
    On,
};

// Switches the open tty fd to low latency where the driver allows; nothing fails otherwise.
// changedFlags is set when the mode was switched on here, so that it can be switched back.
LowLatencyMode EnableLowLatency(int fd, bool& changedFlags);
// Switches it off again before the descriptor closes, if EnableLowLatency switched it on.
void RestoreLowLatency(int fd, bool changedFlags);

// "on", "refused by the driver", "not applicable": for port listings.
const char* LowLatencyText(LowLatencyMode mode);

} // namespace tensiq
