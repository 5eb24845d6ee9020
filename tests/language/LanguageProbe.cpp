// Chooses the language like the program does and prints what it got, one "key=value" a line.
// With folders as arguments it uses the folder variant once per folder, in turn; with
// "--want N" it chooses as the program does for "--language".

#include "DialogTemplate.h"
#include "LocalisedString.h"
#include "ResourceIds.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace tensiq;

namespace {

// What the current module gives for a button's text in template 102 and for an icon.
void PrintTemplateAndIcon(const char* prefix) {
    const res::ResourceModule* module = CurrentResourceModule();
    const res::DialogTemplate* dialog = res::FindDialog(module, res::kMainDialog);
    const res::DialogControl* read = dialog != nullptr ? res::FindControl(*dialog, 1002) : nullptr;
    std::string text = read != nullptr ? read->text : "none";
    for (char& c : text)
        c = c == '\n' ? ' ' : c;
    std::printf("%sbutton=%s\n", prefix, text.c_str());
    const res::Icon* icon = res::FindIcon(module, 130);
    std::printf("%sicon=%s\n", prefix,
                icon == nullptr                                 ? "none"
                : icon == res::FindIcon(GermanResources(), 130) ? "program"
                                                                : "library");
}

} // namespace

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
    PrintTemplateAndIcon("");
    std::printf("unloaded=%d\n", UnloadLanguageLibrary() ? 1 : 0);
    std::printf("after=%s\n", LoadLocalisedString(103, CurrentResourceModule()).c_str());
    PrintTemplateAndIcon("after");
    return 0;
}
