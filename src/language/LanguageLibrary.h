#pragma once
// One language library opened by absolute path, with the resource module it exports.

#include "ResourceModule.h"

#include <optional>
#include <string>

namespace tensiq {

class LanguageLibrary {
public:
    // Empty when the file is missing, cannot be loaded, or does not export a resource module.
    // A relative path is refused: the library search path must never pick the library.
    static std::optional<LanguageLibrary> Open(const std::string& path);

    LanguageLibrary(LanguageLibrary&& other) noexcept;
    LanguageLibrary& operator=(LanguageLibrary&& other) noexcept;
    LanguageLibrary(const LanguageLibrary&) = delete;
    LanguageLibrary& operator=(const LanguageLibrary&) = delete;
    ~LanguageLibrary();

    const res::ResourceModule* Module() const { return m_module; }
    void* Handle() const { return m_handle; }

    // Closes the library; Module() is then nullptr.
    void Unload();

private:
    LanguageLibrary(void* handle, const res::ResourceModule* module)
        : m_handle(handle), m_module(module) {}

    void* m_handle = nullptr;
    const res::ResourceModule* m_module = nullptr;
};

} // namespace tensiq
