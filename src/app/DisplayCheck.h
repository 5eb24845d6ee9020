#pragma once
#include <string>

namespace tensiq {

// Why the window could have no display, from the environment alone: empty when a display (or
// a platform that needs none, such as offscreen) is there. Qt would abort instead of saying so.
std::string MissingDisplay();

} // namespace tensiq
