#include "LocalisedString.h"

#include <gtest/gtest.h>

#include <string>

using namespace tensiq;

namespace {

std::size_t CountChars(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

// A module holding only block 2 (ids 16 to 31), with text at ids 16 and 20, an empty text at 21.
struct SmallModule {
    std::string longText;
    res::StringBlock block{2, {}};
    res::ResourceModule module{&block, 1, nullptr, 0, nullptr, 0};

    SmallModule() {
        block.texts[0] = "sixteen";
        block.texts[4] = "twenty";
        block.texts[5] = "";
    }
    void SetLong(std::string text) {
        longText = std::move(text);
        block.texts[6] = longText.c_str(); // id 22
    }
};

} // namespace

TEST(LoadLocalisedString, NoModuleGivesTheErrorText) {
    EXPECT_EQ(LoadLocalisedString(103, nullptr), "Error loading resource.");
}

TEST(LoadLocalisedString, FindsTheBlockOfSixteenIds) {
    SmallModule m;
    EXPECT_EQ(LoadLocalisedString(16, &m.module), "sixteen");
    EXPECT_EQ(LoadLocalisedString(20, &m.module), "twenty");
}

TEST(LoadLocalisedString, MissingBlockOrIdGivesEmptyText) {
    SmallModule m;
    EXPECT_EQ(LoadLocalisedString(15, &m.module), ""); // block 1, absent
    EXPECT_EQ(LoadLocalisedString(32, &m.module), ""); // block 3, absent
    EXPECT_EQ(LoadLocalisedString(17, &m.module), ""); // block present, id absent
    EXPECT_EQ(LoadLocalisedString(21, &m.module), ""); // empty text
}

TEST(LoadLocalisedString, NoFallBackToGerman) {
    SmallModule m;
    ASSERT_EQ(LoadLocalisedString(103, GermanResources()), "Gesamt");
    EXPECT_EQ(LoadLocalisedString(103, &m.module), "");
}

TEST(LoadLocalisedString, LongTextIsCutTo4254Characters) {
    SmallModule m;
    m.SetLong(std::string(5000, 'x'));
    EXPECT_EQ(LoadLocalisedString(22, &m.module), std::string(4254, 'x'));

    m.SetLong(std::string(4254, 'y'));
    EXPECT_EQ(LoadLocalisedString(22, &m.module), m.longText);
}

TEST(LoadLocalisedString, CutCountsCharactersAndKeepsUtf8Whole) {
    SmallModule m;
    // One, two, three and four byte characters in turn, past the limit.
    std::string text;
    const char* pieces[] = {"a", "\xC3\xA4", "\xE6\x80\xBB", "\xF0\x9F\x94\xA7"};
    for (int i = 0; i < 5000; ++i)
        text += pieces[i % 4];
    m.SetLong(text);
    const std::string cut = LoadLocalisedString(22, &m.module);
    EXPECT_EQ(CountChars(cut), 4254u);
    EXPECT_EQ(cut, text.substr(0, cut.size()));
    // 4254 = 4 * 1063 + 2: 1063 full rounds of 10 bytes, then "a" and "ä".
    EXPECT_EQ(cut.size(), 1063u * 10 + 3);
}

TEST(LoadLocalisedString, GermanModuleCarriesUmlautsAsUtf8) {
    EXPECT_EQ(LoadLocalisedString(106, GermanResources()), "N\xC3\xA4"
                                                           "chstes Seil einstellen");
    EXPECT_EQ(LoadLocalisedString(61719, GermanResources()),
              "Geben Sie bitte eine positive ganze Zahl ein.");
}
