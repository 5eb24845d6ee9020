#pragma once
#include <string>

namespace tensiq::soak {

// tensiq-cli record at the line limit with faults for 60 % of the time, then hang-up cycles until
// the time is up; files under root. Prints its figures; true when all held.
bool RunCliSoak(double minutes, const std::string& root);

} // namespace tensiq::soak
