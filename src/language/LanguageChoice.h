#pragma once
// The language is chosen once at start-up from the libraries beside the program: Chinese first,
// then English. When neither is there, the language the user asks for (the locale or
// --language) comes from the program's private library folder; German needs no library.

#include "CurrentResourceModule.h"
#include "GermanResources.h"
#include "ResourceModule.h"

#include <string>

namespace tensiq {

inline constexpr int kLanguageUnchosen = 0;
inline constexpr int kLanguageGerman = 1;
inline constexpr int kLanguageEnglish = 2;
inline constexpr int kLanguageChinese = 3;

inline constexpr const char* kChineseLibraryName = "tq_chn.so";
inline constexpr const char* kEnglishLibraryName = "tq_en.so";

// The program's own folders, with the language of the user's locale. Runs once; later calls
// change nothing.
void ChooseLanguage();
// The same with the language asked for by --language (1 German, 2 English, 3 Chinese).
void ChooseLanguageFor(int wanted);
// Only the libraries in folder (absolute); used by tests.
void ChooseLanguage(const std::string& folder);
// Libraries in programFolder first; else wanted's library from privateFolder, or German when
// that one is missing or does not load. Both folders absolute; an empty one is skipped.
void ChooseLanguage(const std::string& programFolder, const std::string& privateFolder, int wanted);

// 0 before the choice, then 1 German, 2 English, 3 Chinese.
int LanguageCode();

// Handle of the loaded language library, nullptr when none is loaded.
void* LanguageLibraryHandle();
// Path of the loaded language library, empty when none is loaded.
std::string LanguageLibraryPath();

// At exit; clears the current module first. Returns false when there was no library to
// unload (the German module then stays current).
bool UnloadLanguageLibrary();

// The folder of /proc/self/exe; empty when it cannot be read.
std::string ProgramFolder();

} // namespace tensiq
