#pragma once
#include "RecordFailure.h"
#include "ResourceModule.h"

#include <string>

namespace tensiq {

// The message for a run's failed record in the module's language: what failed with the file and
// the reason, then how many lines the record keeps.
std::string RecordFailureText(const RecordFailure& failure, const res::ResourceModule* module);

} // namespace tensiq
