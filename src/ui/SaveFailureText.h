#pragma once
#include "MeasurementCopy.h"
#include "ResourceModule.h"

#include <string>

namespace tensiq {

// The message for a failed save, in the module's language, naming the file at fault: the
// target, or the record when that cannot be read. Empty for success.
std::string SaveFailureText(const CopyResult& result, const std::string& target,
                            const std::string& record, const res::ResourceModule* module);

// Replaces %1 and %2 in a string-table text; no printf on texts that carry a path.
std::string FillPlaceholders(std::string text, const std::string& first,
                             const std::string& second = {});

} // namespace tensiq
