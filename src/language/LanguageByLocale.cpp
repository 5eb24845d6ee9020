#include "LanguageByLocale.h"

#include "InstallLayout.h"
#include "LanguageChoice.h"

#include <cstdlib>
#include <filesystem>

namespace tensiq {

namespace {

const char* FirstSet(const char* a, const char* b, const char* c) {
    for (const char* value : {a, b, c})
        if (value != nullptr && *value != '\0')
            return value;
    return "";
}

} // namespace

int LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    // A locale name is language[_territory][.codeset][@modifier]; only the language counts.
    const std::string_view locale = FirstSet(lcAll, lcMessages, lang);
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    if (language == "en")
        return kLanguageEnglish;
    if (language == "zh")
        return kLanguageChinese;
    return kLanguageGerman;
}

int LanguageFromEnvironment() {
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                              std::getenv("LANG"));
}

std::optional<int> LanguageFromOption(std::string_view name) {
    if (name == "de")
        return kLanguageGerman;
    if (name == "en")
        return kLanguageEnglish;
    if (name == "zh")
        return kLanguageChinese;
    return std::nullopt;
}

std::string_view LanguageName(int code) {
    switch (code) {
    case kLanguageGerman:
        return "de";
    case kLanguageEnglish:
        return "en";
    case kLanguageChinese:
        return "zh";
    default:
        return "";
    }
}

std::string PrivateLibraryFolder(const std::string& programFolder) {
    if (programFolder.empty())
        return {};
    return (std::filesystem::path(programFolder) / kPrivateLibraryFromProgram)
        .lexically_normal()
        .string();
}

} // namespace tensiq
