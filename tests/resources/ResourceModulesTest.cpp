#include "DialogTemplate.h"
#include "LocalisedString.h"
#include "ModuleSet.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

using namespace tensiq;
using namespace tensiq::res;

namespace {

std::vector<unsigned> ProgramStringIds() {
    std::vector<unsigned> ids;
    for (unsigned id = 101; id <= 126; ++id)
        ids.push_back(id);
    ids.push_back(kStrNoConnectionHint);
    for (unsigned id : {kStrParseReal, kStrIntRange, kStrRealRange, kStrParseUnsigned})
        ids.push_back(id);
    for (unsigned id : {kStrTooFewRopes, kStrNoRecordYet, kStrSaveNotWritable, kStrSaveDiskFull,
                        kStrSaveFailed, kStrReplaceFile, kStrChartName})
        ids.push_back(id);
    return ids;
}

bool HasCjk(const std::string& s) {
    // U+4E00 to U+9FFF are E4 B8 80 to E9 BF BF in UTF-8.
    for (std::size_t i = 0; i + 2 < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0xE4 && c <= 0xE9)
            return true;
    }
    return false;
}

bool IsAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

class ResourceModules : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(modules.Loaded()) << "language libraries not built"; }
    test::ModuleSet modules;
};

} // namespace

TEST_F(ResourceModules, EveryStringTheProgramUsesIsInEveryModule) {
    for (const auto& [name, module] : modules.All())
        for (unsigned id : ProgramStringIds())
            EXPECT_FALSE(LoadLocalisedString(id, module).empty()) << name << " string " << id;
}

TEST_F(ResourceModules, LibrariesAreTranslatedThroughout) {
    for (unsigned id : ProgramStringIds()) {
        EXPECT_TRUE(HasCjk(LoadLocalisedString(id, modules.Chinese()))) << "chn string " << id;
        EXPECT_TRUE(IsAscii(LoadLocalisedString(id, modules.English()))) << "en string " << id;
    }
    for (unsigned dialogId : {kAboutBoxDialog, kMainDialog}) {
        const DialogTemplate* de = FindDialog(GermanResources(), dialogId);
        const DialogTemplate* zh = FindDialog(modules.Chinese(), dialogId);
        ASSERT_TRUE(de && zh);
        // The main window's caption is the program's name and version in every language.
        if (dialogId == kAboutBoxDialog) {
            EXPECT_TRUE(HasCjk(zh->caption));
        }
        for (std::size_t i = 0; i < de->controlCount && i < zh->controlCount; ++i)
            if (de->controls[i].text[0] != '\0') {
                EXPECT_NE(zh->controls[i].text[0], '\0') << dialogId << " control " << i;
            }
    }
}

TEST_F(ResourceModules, FormMessagesKeepTheirPlaceholders) {
    for (const auto& [name, module] : modules.All())
        for (unsigned id : {kStrIntRange, kStrRealRange}) {
            const std::string text = LoadLocalisedString(id, module);
            EXPECT_NE(text.find("%1"), std::string::npos) << name << " " << id;
            EXPECT_NE(text.find("%2"), std::string::npos) << name << " " << id;
        }
}

TEST_F(ResourceModules, SaveMessagesNameTheFileInEveryLanguage) {
    for (const auto& [name, module] : modules.All()) {
        for (unsigned id : {kStrSaveNotWritable, kStrSaveDiskFull, kStrSaveFailed, kStrReplaceFile})
            EXPECT_NE(LoadLocalisedString(id, module).find("%1"), std::string::npos)
                << name << " " << id;
        EXPECT_NE(LoadLocalisedString(kStrSaveFailed, module).find("%2"), std::string::npos)
            << name;
    }
}

TEST_F(ResourceModules, EveryIconIn32PixelsAndTheLogoAlsoIn16) {
    for (const auto& [name, module] : modules.All()) {
        for (unsigned id = kIconProgram; id <= kIconSave; ++id) {
            const Icon* icon = FindIcon(module, id);
            ASSERT_NE(icon, nullptr) << name << " icon " << id;
            std::set<int> sizes;
            for (std::size_t i = 0; i < icon->imageCount; ++i) {
                const IconImage& image = icon->images[i];
                EXPECT_EQ(image.width, image.height);
                ASSERT_NE(image.pixels, nullptr);
                ASSERT_NE(image.mask, nullptr);
                sizes.insert(image.width);
            }
            EXPECT_TRUE(sizes.count(32)) << name << " icon " << id;
            if (id == kIconProgram) {
                EXPECT_TRUE(sizes.count(16)) << name;
            }
        }
    }
}

TEST_F(ResourceModules, IconsAreDistinctDrawings) {
    const auto visible = [](const IconImage& image) {
        std::vector<int> out;
        for (int i = 0; i < image.width * image.height; ++i)
            out.push_back(image.mask[i] ? -1 : image.pixels[i]);
        return out;
    };
    std::set<std::vector<int>> seen;
    for (unsigned id = kIconProgram; id <= kIconSave; ++id) {
        const IconImage& image = FindIcon(GermanResources(), id)->images[0];
        const auto pixels = visible(image);
        EXPECT_TRUE(seen.insert(pixels).second) << "icon " << id << " repeats another";
        std::set<int> colours(pixels.begin(), pixels.end());
        colours.erase(-1);
        EXPECT_GE(colours.size(), 2u) << "icon " << id;
        EXPECT_EQ(pixels.front(), -1) << "icon " << id << " corner should be transparent";
    }
}

TEST_F(ResourceModules, TemplatesDifferOnlyInTexts) {
    for (unsigned dialogId : {kAboutBoxDialog, kMainDialog}) {
        const DialogTemplate* de = FindDialog(GermanResources(), dialogId);
        ASSERT_NE(de, nullptr) << dialogId;
        for (const auto& [name, module] : modules.All()) {
            const DialogTemplate* other = FindDialog(module, dialogId);
            ASSERT_NE(other, nullptr) << name << " " << dialogId;
            EXPECT_EQ(other->cx, de->cx);
            EXPECT_EQ(other->cy, de->cy);
            EXPECT_STREQ(other->fontFace, de->fontFace);
            EXPECT_EQ(other->pointSize, de->pointSize);
            EXPECT_EQ(other->flags, de->flags);
            ASSERT_EQ(other->controlCount, de->controlCount) << name << " " << dialogId;
            for (std::size_t i = 0; i < de->controlCount; ++i) {
                const DialogControl& a = de->controls[i];
                const DialogControl& b = other->controls[i];
                SCOPED_TRACE(name + " dialog " + std::to_string(dialogId) + " control " +
                             std::to_string(i));
                EXPECT_EQ(b.id, a.id);
                EXPECT_EQ(b.kind, a.kind);
                EXPECT_EQ(b.x, a.x);
                EXPECT_EQ(b.y, a.y);
                EXPECT_EQ(b.cx, a.cx);
                EXPECT_EQ(b.cy, a.cy);
                EXPECT_EQ(b.flags, a.flags);
                EXPECT_EQ(b.align, a.align);
                EXPECT_EQ(b.iconId, a.iconId);
                EXPECT_EQ(b.className == nullptr, a.className == nullptr);
                if (a.className != nullptr && b.className != nullptr) {
                    EXPECT_STREQ(b.className, a.className);
                }
                ASSERT_NE(b.text, nullptr);
            }
        }
    }
}
