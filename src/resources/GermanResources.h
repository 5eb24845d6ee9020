#pragma once

#include "ResourceModule.h"

namespace tensiq {

// The module the program carries itself, linked in; German.
const res::ResourceModule* GermanResources();

} // namespace tensiq
