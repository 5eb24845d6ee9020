#include "LanguageChoice.h"

#include "LanguageLibrary.h"

#include <unistd.h>

#include <atomic>
#include <mutex>
#include <optional>

namespace tensiq {

namespace {

std::atomic<int> g_code{kLanguageUnchosen};
std::mutex g_mutex;
std::optional<LanguageLibrary> g_library;

} // namespace

void ChooseLanguage() {
    ChooseLanguage(ProgramFolder());
}

void ChooseLanguage(const std::string& folder) {
    std::lock_guard lock(g_mutex);
    if (g_code.load() != kLanguageUnchosen)
        return;
    const struct {
        const char* name;
        int code;
    } choices[] = {{kChineseLibraryName, kLanguageChinese},
                   {kEnglishLibraryName, kLanguageEnglish}};
    if (!folder.empty()) {
        for (const auto& choice : choices) {
            auto library = LanguageLibrary::Open(folder + "/" + choice.name);
            if (library) {
                g_library = std::move(library);
                SetCurrentResourceModule(g_library->Module());
                g_code.store(choice.code);
                return;
            }
        }
    }
    g_code.store(kLanguageGerman);
}

int LanguageCode() {
    return g_code.load();
}

void* LanguageLibraryHandle() {
    std::lock_guard lock(g_mutex);
    return g_library ? g_library->Handle() : nullptr;
}

bool UnloadLanguageLibrary() {
    std::lock_guard lock(g_mutex);
    if (!g_library)
        return false;
    SetCurrentResourceModule(nullptr);
    g_library.reset();
    return true;
}

std::string ProgramFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    std::string exe(path, static_cast<std::size_t>(n));
    const auto slash = exe.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : exe.substr(0, slash);
}

} // namespace tensiq
