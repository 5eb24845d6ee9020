#include "LanguageLibrary.h"

#include <dlfcn.h>

#include <utility>

namespace tensiq {

std::optional<LanguageLibrary> LanguageLibrary::Open(const std::string& path) {
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        return std::nullopt;
    auto entry = reinterpret_cast<res::ModuleEntry>(dlsym(handle, res::kModuleEntryName));
    const res::ResourceModule* module = entry != nullptr ? entry() : nullptr;
    if (module == nullptr) {
        dlclose(handle);
        return std::nullopt;
    }
    return LanguageLibrary(handle, module);
}

LanguageLibrary::LanguageLibrary(LanguageLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)),
      m_module(std::exchange(other.m_module, nullptr)) {}

LanguageLibrary& LanguageLibrary::operator=(LanguageLibrary&& other) noexcept {
    if (this != &other) {
        Unload();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_module = std::exchange(other.m_module, nullptr);
    }
    return *this;
}

LanguageLibrary::~LanguageLibrary() {
    Unload();
}

void LanguageLibrary::Unload() {
    if (m_handle != nullptr)
        dlclose(m_handle);
    m_handle = nullptr;
    m_module = nullptr;
}

} // namespace tensiq
