#pragma once
// The one module in which every string, dialog template and icon is looked up: the program's
// own German module until the language choice makes a library current, and none once that
// library is about to be unloaded, so a late lookup finds nothing instead of freed memory.

#include "ResourceModule.h"

namespace tensiq {

const res::ResourceModule* CurrentResourceModule();

// Made current by the language choice, cleared before its library is unloaded; tests set a
// module of their own.
void SetCurrentResourceModule(const res::ResourceModule* module);

} // namespace tensiq
