// The program as built, started from the build tree: it finds the build's language libraries
// the way an installed one finds its private folder, so the locale and --language work there.

#include "RunTool.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kStart = std::string("env -u LC_ALL -u LC_MESSAGES QT_QPA_PLATFORM=offscreen ");
const std::string kLangDir = TENSIQ_LANG_DIR;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(BuiltProgram, TheLocaleChoosesAmongTheBuildsLibraries) {
    const struct {
        const char* locale;
        const char* language;
        std::string resources;
    } cases[] = {
        {"en_US.UTF-8", "en", kLangDir + "/tq_en.so"},
        {"zh_CN.UTF-8", "zh", kLangDir + "/tq_chn.so"},
        {"de_DE.UTF-8", "de", "the program's own (German)"},
    };
    for (const auto& c : cases) {
        const auto run = tensiq::test::RunTool(kStart + "LANG=" + c.locale + " " + TENSIQ_PROGRAM +
                                               " --print-language");
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_TRUE(Contains(run.out, std::string("language: ") + c.language + "\n")) << run.out;
        EXPECT_TRUE(Contains(run.out, "resources: " + c.resources + "\n")) << run.out;
    }
}

TEST(BuiltProgram, TheLanguageOptionWorksThereWithoutTalkOfALibraryBesideIt) {
    const auto run = tensiq::test::RunTool(kStart + "LANG=de_DE.UTF-8 " + TENSIQ_PROGRAM +
                                           " --print-language --language en");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Contains(run.out, "language: en\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "read button: Read parameters\n")) << run.out;
    EXPECT_FALSE(Contains(run.out, "beside the program")) << run.out;
}
