#include "CurrentResourceModule.h"

#include "GermanResources.h"

#include <atomic>

namespace tensiq {

namespace {

// Atomic, because the acquisition thread looks strings up while the GUI thread may clear it.
std::atomic<const res::ResourceModule*>& Current() {
    static std::atomic<const res::ResourceModule*> current{GermanResources()};
    return current;
}

} // namespace

const res::ResourceModule* CurrentResourceModule() {
    return Current().load();
}

void SetCurrentResourceModule(const res::ResourceModule* module) {
    Current().store(module);
}

} // namespace tensiq
