#include "PlatformResources.h"

#include <atomic>

namespace tensiq {

namespace {
std::atomic<const res::ResourceModule*> g_module{nullptr};
}

void SetResourceModule(const res::ResourceModule* module) {
    g_module.store(module);
}

const res::ResourceModule* GetResourceModule() {
    return g_module.load();
}

} // namespace tensiq
