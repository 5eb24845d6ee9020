#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kLangDir = TENSIQ_LANG_DIR;
const fs::path kProbe = TENSIQ_LANGUAGE_PROBE;

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "tensiq-lang-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempFolder() { fs::remove_all(m_path); }
    const fs::path& Path() const { return m_path; }
    void Add(const std::string& library) const {
        fs::copy_file(kLangDir / library, m_path / library);
    }

private:
    fs::path m_path;
};

// Runs the probe and collects its "key=value" lines; repeated keys keep every value, joined by ','.
std::map<std::string, std::string> RunProbe(const std::string& command) {
    std::map<std::string, std::string> out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        const auto eq = text.find('=');
        if (eq == std::string::npos)
            continue;
        auto& value = out[text.substr(0, eq)];
        value += (value.empty() ? "" : ",") + text.substr(eq + 1);
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return out;
}

std::string Quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

std::map<std::string, std::string> RunInFolder(const TempFolder& folder) {
    return RunProbe(Quoted(kProbe) + " " + Quoted(folder.Path()));
}

// A copy, because /proc/self/exe names the real file, not a link to it.
std::map<std::string, std::string> RunBeside(const TempFolder& folder,
                                             const std::string& env = "") {
    const fs::path probe = folder.Path() / "probe";
    fs::copy_file(kProbe, probe, fs::copy_options::overwrite_existing);
    return RunProbe(env + Quoted(probe));
}

} // namespace

TEST(LanguageChoice, StartsUnchosenWithTheGermanModule) {
    TempFolder folder;
    auto result = RunInFolder(folder);
    EXPECT_EQ(result["before"], "0");
    EXPECT_EQ(result["beforeGerman"], "1");
}

TEST(LanguageChoice, OnlyEnglishGivesEnglish) {
    TempFolder folder;
    folder.Add("tq_en.so");
    auto result = RunInFolder(folder);
    EXPECT_EQ(result["code"], "2");
    EXPECT_EQ(result["handle"], "1");
    EXPECT_EQ(result["total"], "Total");
    EXPECT_EQ(result["button"], "Read parameters") << "templates from the same module";
    EXPECT_EQ(result["icon"], "library") << "icons from the same module";
    EXPECT_EQ(result["unloaded"], "1");
}

TEST(LanguageChoice, ChineseWinsOverEnglish) {
    TempFolder folder;
    folder.Add("tq_en.so");
    folder.Add("tq_chn.so");
    auto result = RunInFolder(folder);
    EXPECT_EQ(result["code"], "3");
    EXPECT_EQ(result["total"], "总计");
}

TEST(LanguageChoice, NeitherGivesGermanAndNothingToUnload) {
    TempFolder folder;
    auto result = RunInFolder(folder);
    EXPECT_EQ(result["code"], "1");
    EXPECT_EQ(result["handle"], "0");
    EXPECT_EQ(result["total"], "Gesamt");
    EXPECT_EQ(result["unloaded"], "0");
    EXPECT_EQ(result["after"], "Gesamt");
    EXPECT_EQ(result["afterbutton"], "Parameter auslesen");
    EXPECT_EQ(result["aftericon"], "program");
}

TEST(LanguageChoice, UnloadableChineseFileFallsToEnglish) {
    TempFolder folder;
    folder.Add("tq_en.so");
    {
        std::FILE* f = std::fopen((folder.Path() / "tq_chn.so").c_str(), "w");
        std::fputs("not a library", f);
        std::fclose(f);
    }
    EXPECT_EQ(RunInFolder(folder)["code"], "2");
}

TEST(LanguageChoice, LibraryWithoutResourceModuleFallsToEnglish) {
    TempFolder folder;
    folder.Add("tq_en.so");
    fs::copy_file(TENSIQ_NO_ENTRY_LIBRARY, folder.Path() / "tq_chn.so");
    auto result = RunInFolder(folder);
    EXPECT_EQ(result["code"], "2");
    EXPECT_EQ(result["total"], "Total");
}

TEST(LanguageChoice, RelativeFolderIsNotLookedIn) {
    TempFolder folder;
    folder.Add("tq_en.so");
    auto result = RunProbe("cd " + Quoted(folder.Path()) + " && " + Quoted(kProbe) + " .");
    EXPECT_EQ(result["code"], "1");
}

TEST(LanguageChoice, IsMadeOnceAndNeverChanges) {
    TempFolder empty;
    TempFolder both;
    both.Add("tq_en.so");
    both.Add("tq_chn.so");
    auto result = RunProbe(Quoted(kProbe) + " " + Quoted(empty.Path()) + " " + Quoted(both.Path()));
    EXPECT_EQ(result["code"], "1,1");
    EXPECT_EQ(result["total"], "Gesamt");
}

TEST(LanguageChoice, NoLookupAfterUnloadReadsTheFreedLibrary) {
    TempFolder folder;
    folder.Add("tq_chn.so");
    auto result = RunInFolder(folder);
    EXPECT_EQ(result["after"], "Error loading resource.");
    EXPECT_EQ(result["afterbutton"], "none");
    EXPECT_EQ(result["aftericon"], "none");
}

TEST(LanguageChoiceBesideProgram, FindsTheLibraryInTheProgramFolder) {
    TempFolder folder;
    folder.Add("tq_en.so");
    auto result = RunBeside(folder);
    EXPECT_EQ(result["code"], "2");
    EXPECT_EQ(result["total"], "Total");
}

TEST(LanguageChoiceBesideProgram, IgnoresTheWorkingFolderAndTheLibrarySearchPath) {
    TempFolder program;
    TempFolder elsewhere;
    elsewhere.Add("tq_en.so");
    elsewhere.Add("tq_chn.so");
    const std::string env =
        "cd " + Quoted(elsewhere.Path()) + " && LD_LIBRARY_PATH=" + Quoted(elsewhere.Path()) + " ";
    auto result = RunBeside(program, env);
    EXPECT_EQ(result["code"], "1");
    EXPECT_EQ(result["total"], "Gesamt");
}

namespace {

// An installed layout: the probe in bin/, libraries in lib/tensiq/, as the install makes them.
class InstalledLayout {
public:
    InstalledLayout() {
        fs::create_directories(Bin());
        fs::create_directories(Private());
        fs::copy_file(kProbe, Bin() / "probe");
    }
    fs::path Bin() const { return m_root.Path() / "bin"; }
    fs::path Private() const { return m_root.Path() / "lib" / "tensiq"; }
    void AddPrivate(const std::string& library) const {
        fs::copy_file(kLangDir / library, Private() / library);
    }
    void AddBeside(const std::string& library) const {
        fs::copy_file(kLangDir / library, Bin() / library);
    }
    // The locale variables are cleared first, so the caller's own locale never leaks in.
    std::map<std::string, std::string> Run(const std::string& locale,
                                           const std::string& args = "") const {
        return RunProbe("env -u LC_ALL -u LC_MESSAGES -u LANG " + locale + " " +
                        Quoted(Bin() / "probe") + " " + args);
    }

private:
    TempFolder m_root;
};

} // namespace

TEST(LanguageByLocale, TheLocaleChoosesAmongThePrivateLibraries) {
    InstalledLayout layout;
    layout.AddPrivate("tq_en.so");
    layout.AddPrivate("tq_chn.so");
    const struct {
        const char* locale;
        const char* code;
        const char* total;
    } cases[] = {
        {"LANG=en_US.UTF-8", "2", "Total"},
        {"LANG=zh_CN.UTF-8", "3", "总计"},
        {"LANG=de_DE.UTF-8", "1", "Gesamt"},
        {"LANG=C", "1", "Gesamt"},
        {"LANG=fr_FR.UTF-8", "1", "Gesamt"},
        {"", "1", "Gesamt"},
        // LC_ALL before LC_MESSAGES before LANG; an empty value counts as unset.
        {"LC_ALL=zh_TW.UTF-8 LC_MESSAGES=de_DE LANG=en_US.UTF-8", "3", "总计"},
        {"LC_MESSAGES=en_GB.UTF-8 LANG=de_DE.UTF-8", "2", "Total"},
        {"LC_ALL= LANG=en_US.UTF-8", "2", "Total"},
    };
    for (const auto& c : cases) {
        auto result = layout.Run(c.locale);
        EXPECT_EQ(result["code"], c.code) << c.locale;
        EXPECT_EQ(result["total"], c.total) << c.locale;
    }
    EXPECT_EQ(layout.Run("LANG=zh_CN.UTF-8")["library"], (layout.Private() / "tq_chn.so").string());
}

TEST(LanguageByLocale, ALibraryBesideTheProgramStillWins) {
    InstalledLayout layout;
    layout.AddPrivate("tq_chn.so");
    layout.AddBeside("tq_en.so");
    EXPECT_EQ(layout.Run("LANG=zh_CN.UTF-8")["code"], "2");
    EXPECT_EQ(layout.Run("LANG=de_DE.UTF-8", "--want 3")["code"], "2");
}

TEST(LanguageByLocale, TheLanguageOptionOverridesTheLocale) {
    InstalledLayout layout;
    layout.AddPrivate("tq_en.so");
    layout.AddPrivate("tq_chn.so");
    EXPECT_EQ(layout.Run("LANG=en_US.UTF-8", "--want 3")["code"], "3");
    EXPECT_EQ(layout.Run("LANG=en_US.UTF-8", "--want 1")["code"], "1");
    EXPECT_EQ(layout.Run("LANG=zh_CN.UTF-8", "--want 2")["total"], "Total");
}

TEST(LanguageByLocale, AMissingOrBrokenLibraryGivesGerman) {
    InstalledLayout layout;
    layout.AddPrivate("tq_en.so");
    auto result = layout.Run("LANG=zh_CN.UTF-8");
    EXPECT_EQ(result["code"], "1");
    EXPECT_EQ(result["handle"], "0");
    fs::copy_file(TENSIQ_NO_ENTRY_LIBRARY, layout.Private() / "tq_chn.so");
    EXPECT_EQ(layout.Run("LANG=zh_CN.UTF-8")["code"], "1");
}

TEST(LanguageByLocale, NeverFromTheWorkingFolderOrTheLibrarySearchPath) {
    InstalledLayout layout;
    // A working folder shaped like an install, and a search path holding both libraries.
    TempFolder elsewhere;
    fs::create_directories(elsewhere.Path() / "bin");
    fs::create_directories(elsewhere.Path() / "lib" / "tensiq");
    for (const char* library : {"tq_en.so", "tq_chn.so"}) {
        fs::copy_file(kLangDir / library, elsewhere.Path() / library);
        fs::copy_file(kLangDir / library, elsewhere.Path() / "lib" / "tensiq" / library);
    }
    auto result =
        RunProbe("cd " + Quoted(elsewhere.Path() / "bin") +
                 " && env -u LC_ALL -u LC_MESSAGES LD_LIBRARY_PATH=" + Quoted(elsewhere.Path()) +
                 " LANG=en_US.UTF-8 " + Quoted(layout.Bin() / "probe"));
    EXPECT_EQ(result["code"], "1");
    EXPECT_EQ(result["library"], "");
}
