#include "LanguageLibrary.h"

#include "LibraryFileCheck.h"

#include <dlfcn.h>

#include <utility>

namespace tensiq {

std::optional<LanguageLibrary> LanguageLibrary::Open(const std::string& path,
                                                     std::string* problem) {
    const auto fail = [problem](std::string why) -> std::optional<LanguageLibrary> {
        if (problem != nullptr)
            *problem = std::move(why);
        return std::nullopt;
    };
    if (path.empty() || path.front() != '/')
        return fail("not an absolute path");
    if (std::string why = LibraryFileProblem(path); !why.empty())
        return fail(why);
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = dlerror();
        return fail(error != nullptr ? error : "it does not load");
    }
    auto entry = reinterpret_cast<res::ModuleEntry>(dlsym(handle, res::kModuleEntryName));
    const res::ResourceModule* module = entry != nullptr ? entry() : nullptr;
    if (module == nullptr) {
        dlclose(handle);
        return fail("it holds no resources");
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
