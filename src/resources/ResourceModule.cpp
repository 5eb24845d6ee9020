#include "ResourceModule.h"

namespace tensiq::res {

const Icon* FindIcon(const ResourceModule* module, unsigned id) {
    if (module == nullptr)
        return nullptr;
    for (std::size_t i = 0; i < module->iconCount; ++i)
        if (module->icons[i].id == id)
            return &module->icons[i];
    return nullptr;
}

} // namespace tensiq::res
