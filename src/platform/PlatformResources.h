#pragma once
// The resource module the controls take their icons from. The application points it at the
// module that currently supplies the program's resources; nullptr until then.

#include "ResourceModule.h"

namespace tensiq {

void SetResourceModule(const res::ResourceModule* module);
const res::ResourceModule* GetResourceModule();

} // namespace tensiq
