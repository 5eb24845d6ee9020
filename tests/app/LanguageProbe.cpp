// Chooses the language like the program does and prints what it got, one "key=value" a line.
// With folders as arguments it uses the folder variant once per folder, in turn; with
// "--want N" it chooses as the program does for "--language".

#include "LocalisedString.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace tensiq;

int main(int argc, char** argv) {
    std::printf("before=%d\n", LanguageCode());
    std::printf("beforeGerman=%d\n", CurrentResourceModule() == GermanResources() ? 1 : 0);
    if (argc < 2) {
        ChooseLanguage();
        std::printf("code=%d\n", LanguageCode());
    } else if (std::strcmp(argv[1], "--want") == 0 && argc == 3) {
        ChooseLanguageFor(std::atoi(argv[2]));
        std::printf("code=%d\n", LanguageCode());
        argc = 1;
    }
    for (int i = 1; i < argc; ++i) {
        ChooseLanguage(argv[i]);
        std::printf("code=%d\n", LanguageCode());
    }
    std::printf("library=%s\n", LanguageLibraryPath().c_str());
    std::printf("handle=%d\n", LanguageLibraryHandle() != nullptr ? 1 : 0);
    std::printf("total=%s\n", LoadLocalisedString(103, CurrentResourceModule()).c_str());
    std::printf("unloaded=%d\n", UnloadLanguageLibrary() ? 1 : 0);
    std::printf("after=%s\n", LoadLocalisedString(103, CurrentResourceModule()).c_str());
    return 0;
}
