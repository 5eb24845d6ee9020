#pragma once
// What every command of the tool shares: the --port option and getting a link open.
#include "DeviceLink.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace tensiq::cli {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNoDevice = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitTransfer = 3;
inline constexpr int kExitFindings = 4; // the doctor found something in the way

inline constexpr const char* kNoDeviceAnywhere =
    "No device answers on any port (COM1 to COM255). Is it connected and powered?\n";

struct PortChoice {
    std::string given; // --port: a number, COM and a number, or a device path; empty: discover

    bool IsNumber() const;
    int Number() const; // -1 when not a number
    // The device path for a given port; empty when none was given.
    std::string DevicePath() const;
};

// Why discovery found nothing: names a port another program holds, or the permission problem
// when ports could not be opened.
std::string NoDeviceAnywhereText(const std::vector<int>& busyPorts);

// Opens the link on the chosen port, or discovers the device first (remembering it in the
// profile). A port given by the user must answer the probe. On failure prints a clear reason to err
// and returns false.
bool OpenLink(DeviceLink& link, const PortChoice& choice, std::ostream& err);

} // namespace tensiq::cli
