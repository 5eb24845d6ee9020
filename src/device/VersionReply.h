#pragma once
#include <string>

namespace tensiq {

// The firmware version in an identification reply read as "L %f": an L, blanks, a number.
// False when no number follows. The decimal point is '.', whatever the process's locale: a
// Qt program runs with the user's numeric locale, and a German one would read "1.08" as 1.
bool ParseVersionReply(const std::string& reply, float& version);

} // namespace tensiq
