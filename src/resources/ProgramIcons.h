#pragma once
// Icons 128 to 138, drawn for this program; every language carries the same images.

#include "ResourceModule.h"

#include <cstddef>

namespace tensiq::res {

inline constexpr std::size_t kProgramIconCount = 11;
extern const Icon kProgramIcons[kProgramIconCount];

} // namespace tensiq::res
