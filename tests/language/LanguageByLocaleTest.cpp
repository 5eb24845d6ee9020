#include "LanguageByLocale.h"
#include "LanguageChoice.h"

#include <gtest/gtest.h>

using namespace tensiq;

TEST(LanguageFromLocale, OnlyTheLanguagePartOfTheNameCounts) {
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "en"), kLanguageEnglish);
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "en@quot"), kLanguageEnglish);
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "zh_HK.Big5"), kLanguageChinese);
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "de_AT.UTF-8"), kLanguageGerman);
    // Neither a language that merely starts with the letters nor C.UTF-8 is English.
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "enm_GB"), kLanguageGerman);
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "C.UTF-8"), kLanguageGerman);
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "POSIX"), kLanguageGerman);
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, nullptr), kLanguageGerman);
    EXPECT_EQ(LanguageFromLocale("", "", "zh_CN.UTF-8"), kLanguageChinese);
    EXPECT_EQ(LanguageFromLocale("C", "en_US.UTF-8", "zh_CN.UTF-8"), kLanguageGerman);
}

TEST(LanguageOption, TakesTheThreeNamesAndNothingElse) {
    EXPECT_EQ(LanguageFromOption("de"), kLanguageGerman);
    EXPECT_EQ(LanguageFromOption("en"), kLanguageEnglish);
    EXPECT_EQ(LanguageFromOption("zh"), kLanguageChinese);
    EXPECT_FALSE(LanguageFromOption("chn"));
    EXPECT_FALSE(LanguageFromOption("EN"));
    EXPECT_FALSE(LanguageFromOption(""));
    for (int code : {kLanguageGerman, kLanguageEnglish, kLanguageChinese})
        EXPECT_EQ(LanguageFromOption(LanguageName(code)), code);
}

TEST(PrivateLibraryFolder, IsBesideTheProgramFolderUnderLib) {
    EXPECT_EQ(PrivateLibraryFolder("/opt/tensiq/bin"), "/opt/tensiq/lib/tensiq");
    EXPECT_EQ(PrivateLibraryFolder("/usr/bin"), "/usr/lib/tensiq");
    EXPECT_EQ(PrivateLibraryFolder(""), "");
}
