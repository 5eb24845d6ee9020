#pragma once
// The commands' results as JSON. Names and replies come from sysfs, /proc and the device, so
// any byte may be in them: bytes that are not UTF-8 are printed as U+FFFD, never thrown at.
#include "Doctor.h"
#include "PortSurvey.h"

#include <nlohmann/json.hpp>

#include <string>

namespace tensiq::cli {

// The value's text; indent -1 prints one line.
std::string JsonText(const nlohmann::ordered_json& value, int indent = -1);

nlohmann::ordered_json PortJson(const PortInfo& port);
nlohmann::ordered_json PortsJson(const std::vector<PortInfo>& ports);
nlohmann::ordered_json DoctorJson(const std::string& userName, const DoctorReport& report,
                                  const std::vector<PortInfo>& ports);
// port: the COM number, 0 when the device was given by its path.
nlohmann::ordered_json DiscoverJson(int port, const std::string& path,
                                    const std::string& identification, bool variant);
nlohmann::ordered_json VersionJson(const std::string& identification, double firmwareVersion);

} // namespace tensiq::cli
