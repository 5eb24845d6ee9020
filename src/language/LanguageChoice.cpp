#include "LanguageChoice.h"

#include "LanguageByLocale.h"
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
std::string g_libraryPath;

struct Choice {
    const char* name;
    int code;
};
constexpr Choice kChoices[] = {{kChineseLibraryName, kLanguageChinese},
                               {kEnglishLibraryName, kLanguageEnglish}};

// Under g_mutex.
bool Load(const std::string& folder, const Choice& choice) {
    if (folder.empty())
        return false;
    const std::string path = folder + "/" + choice.name;
    auto library = LanguageLibrary::Open(path);
    if (!library)
        return false;
    g_library = std::move(library);
    g_libraryPath = path;
    SetCurrentResourceModule(g_library->Module());
    g_code.store(choice.code);
    return true;
}

} // namespace

void ChooseLanguage() {
    ChooseLanguageFor(LanguageFromEnvironment());
}

void ChooseLanguageFor(int wanted) {
    const std::string folder = ProgramFolder();
    ChooseLanguage(folder, PrivateLibraryFolder(folder), wanted);
}

void ChooseLanguage(const std::string& folder) {
    ChooseLanguage(folder, std::string(), kLanguageGerman);
}

void ChooseLanguage(const std::string& programFolder, const std::string& privateFolder,
                    int wanted) {
    std::lock_guard lock(g_mutex);
    if (g_code.load() != kLanguageUnchosen)
        return;
    for (const Choice& choice : kChoices)
        if (Load(programFolder, choice))
            return;
    for (const Choice& choice : kChoices)
        if (choice.code == wanted && Load(privateFolder, choice))
            return;
    g_code.store(kLanguageGerman);
}

int LanguageCode() {
    return g_code.load();
}

void* LanguageLibraryHandle() {
    std::lock_guard lock(g_mutex);
    return g_library ? g_library->Handle() : nullptr;
}

std::string LanguageLibraryPath() {
    std::lock_guard lock(g_mutex);
    return g_library ? g_libraryPath : std::string();
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
