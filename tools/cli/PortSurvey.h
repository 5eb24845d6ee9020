#pragma once
#include "LowLatency.h"
// Every port a discovery would probe that exists, with what a user needs to tell them apart and
// to see why one will not open.
#include "SystemRoot.h"

#include <optional>
#include <string>
#include <vector>

namespace tensiq::cli {

struct PortHolder {
    int pid = 0;
    std::string program; // empty when the process cannot be looked at
};

struct PortInfo {
    int number = 0;    // COM number
    std::string path;  // device path, as discovery opens it
    std::string byId;  // name in /dev/serial/by-id; empty when there is none
    std::string maker; // of the USB adapter, from sysfs; empty when unknown
    std::string model;
    std::string serial;
    std::string usbId;    // vendor:product, e.g. "0403:6001"
    unsigned groupId = 0; // group that owns the device
    bool pseudoTerminal = false;
    bool mayOpen = false;     // this user has read and write access
    std::optional<bool> held; // another program holds it; unknown when it cannot be opened
    std::vector<PortHolder> holders;
    std::string openError; // why the test open failed, if it did
    // Whether the driver would run the port in low-latency mode; unknown when it cannot be
    // opened or another program holds it.
    std::optional<LowLatencyMode> lowLatency;
};

// Ports 1 to 255 in order; a legacy ttyS node without a UART behind it is left out, as its
// open fails anyway.
std::vector<PortInfo> SurveyPorts(const SystemRoot& system);

} // namespace tensiq::cli
