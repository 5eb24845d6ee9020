#pragma once
#include <string>

namespace tensiq::soak {

// The real window, offscreen, measuring at the line limit with faults for 60 % of the time,
// then hang-up cycles until the time is up; files under root. Prints its figures; true when all
// held. Call before this process has started a thread or a QApplication.
bool RunWindowSoak(double minutes, const std::string& root, int argc, char** argv);

} // namespace tensiq::soak
