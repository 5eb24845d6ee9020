#pragma once
#include <string>

namespace tensiq {

// The firmware version in an identification reply such as "L 1.08"; 0 when the reply does not
// have that form ("V 1.03", "M..."). Read with '.' whatever the program's locale.
float ParseFirmwareVersion(const std::string& reply);

} // namespace tensiq
