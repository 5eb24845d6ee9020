#pragma once
// The language is chosen once at start-up from the libraries beside the program: Chinese first,
// then English, else the program's own German resources.

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

// Looks in the program's own folder only. Runs once; later calls change nothing.
void ChooseLanguage();
// The same, looking in folder (absolute); used by tests.
void ChooseLanguage(const std::string& folder);

// 0 before the choice, then 1 German, 2 English, 3 Chinese.
int LanguageCode();

// Handle of the loaded language library, nullptr when none is loaded.
void* LanguageLibraryHandle();

// At exit; clears the current module first. Returns false when there was no library to
// unload (the German module then stays current).
bool UnloadLanguageLibrary();

// The folder of /proc/self/exe; empty when it cannot be read.
std::string ProgramFolder();

} // namespace tensiq
