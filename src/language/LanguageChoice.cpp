#include "LanguageChoice.h"

#include "LanguageByLocale.h"
#include "LanguageLibrary.h"

#include <unistd.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

namespace tensiq {

namespace {

std::atomic<int> g_code{kLanguageUnchosen};
std::mutex g_mutex;
std::optional<LanguageLibrary> g_library;
std::string g_libraryPath;
std::vector<std::string> g_notes;
bool g_beside = false;

struct Choice {
    const char* name;
    const char* language;
    int code;
};
constexpr Choice kChoices[] = {{kChineseLibraryName, "Chinese", kLanguageChinese},
                               {kEnglishLibraryName, "English", kLanguageEnglish}};

// Under g_mutex. A library that is not there is told of only when it was asked for.
bool Load(const std::string& folder, const Choice& choice, bool asked) {
    if (folder.empty())
        return false;
    const std::string path = folder + "/" + choice.name;
    std::string problem;
    auto library = LanguageLibrary::Open(path, &problem);
    if (!library) {
        if (asked || problem != "missing")
            g_notes.push_back(std::string("the ") + choice.language + " library " + path +
                              (problem == "missing" ? " is missing" : " is not used: " + problem));
        return false;
    }
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
        if (Load(programFolder, choice, false)) {
            g_beside = true;
            return;
        }
    for (const Choice& choice : kChoices)
        if (choice.code == wanted && Load(privateFolder, choice, true))
            return;
    g_code.store(kLanguageGerman);
    if (wanted != kLanguageGerman && !g_notes.empty())
        g_notes.back() += "; the texts are German";
}

std::vector<std::string> LanguageChoiceNotes() {
    std::lock_guard lock(g_mutex);
    return g_notes;
}

bool LanguageLibraryBesideProgram() {
    std::lock_guard lock(g_mutex);
    return g_library && g_beside;
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
