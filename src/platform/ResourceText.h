#pragma once
#include <QString>

namespace tensiq {

// A string of the current resource module (the language library when one is loaded).
QString ResourceText(unsigned id);

// The no-connection message, with the hint where to look for the cause.
QString NoConnectionText();

} // namespace tensiq
