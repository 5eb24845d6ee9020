#pragma once
#include <string>
#include <string_view>

namespace tensiq::cli {

// Text from sysfs, /proc or the device as it may reach a terminal: control characters (ESC,
// BEL, a line break in a name) are shown as \xNN, so they can neither move the cursor nor
// forge a line of the report.
std::string PrintableText(std::string_view text);

} // namespace tensiq::cli
