#pragma once
#include "DeviceModel.h"

#include <string>
#include <vector>

namespace tensiq::sim {

// Turns "name" or "name=N" into a device fault; false with a reason for an unknown one.
bool ApplyFault(const std::string& spec, DeviceFaults& faults, std::string& error);

// The names ApplyFault knows, with what each does, for --help.
std::vector<std::pair<std::string, std::string>> FaultList();

} // namespace tensiq::sim
