#pragma once
// Which language the user asks for when no library beside the program decides: the locale
// (LC_ALL, then LC_MESSAGES, then LANG, as POSIX orders them), or --language.

#include <optional>
#include <string>
#include <string_view>

namespace tensiq {

// English for a locale whose language is "en", Chinese for "zh", German for anything else,
// including "C", "POSIX" and no locale at all. Empty values count as unset.
int LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);
// The same from this process's environment.
int LanguageFromEnvironment();

// "de", "en" or "zh" as given to --language; empty for anything else.
std::optional<int> LanguageFromOption(std::string_view name);
// "de", "en" or "zh" for a language code; "" for 0.
std::string_view LanguageName(int code);

// The program's private library folder, found relative to the program's folder the way the
// install lays them out (bin/ and lib/tensiq/ side by side); empty for an empty folder.
std::string PrivateLibraryFolder(const std::string& programFolder);

} // namespace tensiq
