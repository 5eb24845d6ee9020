// The PDF read back as a technician's customer would: its text, metadata, fonts and attachments,
// checked with poppler's tools and qpdf, in each language.
#include "ReportPdf.h"
#include "GermanResources.h"
#include "LanguageChoice.h"
#include "LanguageLibrary.h"
#include "RunTool.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace tensiq::report {
namespace {

namespace fs = std::filesystem;

class ReportPdf : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tensiq-report-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        WriteRecord(m_dir / "found.txt", {120, 80, 100});
        WriteRecord(m_dir / "left.txt", {100, 110, 90});
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static void WriteRecord(const fs::path& path, std::initializer_list<int> loads) {
        std::ofstream out(path);
        out << "07.12.2026 10:00:00\n";
        for (int i = 0; i < 50; ++i) {
            for (int v : loads)
                out << v << ';';
            for (std::size_t k = loads.size(); k < 12; ++k)
                out << "0;";
            out << '\n';
        }
    }

    ReportInput Input() const {
        ReportInput in;
        in.found.ropes[0].mean = 120;
        in.found.ropes[1].mean = 80;
        in.found.ropes[2].mean = 100;
        in.left.ropes[0].mean = 100;
        in.left.ropes[1].mean = 110;
        in.left.ropes[2].mean = 90;
        in.found.frames = in.left.frames = 50;
        in.targets = std::array<double, kReportRopes>{100, 103, 96};
        ParameterBlock block;
        block.SetRopeCount(3);
        block.SetFactor(2);
        block.SetTare(450);
        block.SetRopeDifference(5);
        in.block = block;
        in.firmwareReply = "L 1.08";
        in.port = "COM3";
        in.programVersion = "1.4";
        in.site = "Hauptstraße 5";
        in.lift = "A2";
        in.technician = "Technician Name";
        in.reportId = "R-0001";
        in.date = "2026-12-07 10:30";
        in.startTime = "07.12.2026 10:00:00";
        in.endTime = "2026-12-07 10:20:00";
        in.records = {{"found.txt", (m_dir / "found.txt").string(), "ab12", 50},
                      {"left.txt", (m_dir / "left.txt").string(), "cd34", 50}};
        return in;
    }

    std::vector<RecordAttachment> Attachments(const ReportInput& in) const {
        std::vector<RecordAttachment> out;
        for (const RecordFileInfo& r : in.records) {
            RecordAttachment a;
            std::string sha256, error;
            EXPECT_TRUE(ReadRecordFile(r.path, r.name, &a, sha256, error)) << error;
            const std::string expected = test::RunTool("sha256sum " + r.path).out.substr(0, 64);
            EXPECT_EQ(sha256, expected);
            out.push_back(a);
        }
        return out;
    }

    // Writes the report in the language of a library in the build's language folder.
    std::string Write(const ReportInput& in, const std::string& library, bool chinese = false) {
        std::optional<LanguageLibrary> lib;
        const res::ResourceModule* module = GermanResources();
        if (!library.empty()) {
            lib = LanguageLibrary::Open(std::string(TENSIQ_LANG_DIR) + "/" + library);
            EXPECT_TRUE(lib) << library;
            if (!lib)
                return {};
            module = lib->Module();
        }
        ReportTexts texts = LoadReportTexts(module);
        texts.chinese = chinese;
        std::string error;
        const ReportFigures figures = *MakeFigures(in, error);
        const std::string path = (m_dir / "report.pdf").string();
        std::vector<RecordAttachment> attachments = Attachments(in);
        EXPECT_TRUE(WriteReportPdf(in, figures, texts, attachments, path, error)) << error;
        return path;
    }

    static std::string Run(const std::string& command) {
        const test::ToolResult r = test::RunTool(command);
        EXPECT_EQ(r.status, 0) << command << "\n" << r.out;
        return r.out;
    }

    // The text of the page, with a wrapped line joined again.
    static std::string Text(const std::string& pdf) {
        std::string out;
        for (char c : Run("pdftotext " + pdf + " -")) {
            if (c == '\n')
                c = ' ';
            if (c != ' ' || out.empty() || out.back() != ' ')
                out += c;
        }
        return out;
    }

    fs::path m_dir;
};

TEST_F(ReportPdf, GermanReportStatesEachRopeAndTheVerdict) {
    const std::string pdf = Write(Input(), "");
    const std::string text = Text(pdf);
    for (const char* expected :
         {"Seilspannungsprotokoll",
          "R-0001",
          "Hauptstraße 5",
          "A2",
          "Technician Name",
          "COM3",
          "L 1.08",
          "Nulllast (Tara)",
          "450.0 kg",
          "erlaubte Seildifferenz",
          "5.0 kg",
          "NICHT BESTANDEN",
          "Seile außerhalb von Mittelwert ± halber erlaubter Differenz: 2, 3",
          "HOCH",
          "NIEDRIG",
          "found.txt",
          "ab12",
          "left.txt",
          "cd34",
          "Unterschrift Techniker",
          "Unterschrift Kunde",
          "103.0",
          "96.0"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

    const std::string info = Run("pdfinfo " + pdf);
    EXPECT_NE(info.find("Seilspannungsprotokoll R-0001"), std::string::npos) << info;
    EXPECT_NE(info.find("Tensiq 1.4"), std::string::npos) << info;
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos) << info;

    const std::string detach = Run("pdfdetach -list " + pdf);
    EXPECT_NE(detach.find("2 embedded files"), std::string::npos) << detach;
    EXPECT_NE(detach.find("found.txt"), std::string::npos) << detach;
    Run("pdfdetach -save 2 -o " + (m_dir / "back.txt").string() + " " + pdf);
    EXPECT_EQ(test::ReadFile((m_dir / "back.txt").string()),
              test::ReadFile((m_dir / "left.txt").string()));

    Run("qpdf --check " + pdf);
}

TEST_F(ReportPdf, FontsAreEmbeddedInEveryLanguage) {
    for (const auto& [library, chinese, title] :
         {std::tuple<std::string, bool, std::string>{"", false, "Seilspannungsprotokoll"},
          {"tq_en.so", false, "Rope tension report"},
          {"tq_chn.so", true, "钢丝绳张力报告"}}) {
        const std::string pdf = Write(Input(), library, chinese);
        const std::string fonts = Run("pdffonts " + pdf);
        // Every font line says "yes" in the emb column.
        std::istringstream lines(fonts);
        std::string line;
        int fontLines = 0;
        for (int n = 0; std::getline(lines, line); ++n) {
            if (n < 2 || line.empty())
                continue;
            ++fontLines;
            EXPECT_NE(line.find(" yes "), std::string::npos) << library << ": " << line;
        }
        EXPECT_GT(fontLines, 0) << fonts;
        const std::string text = Run("pdftotext " + pdf + " -");
        EXPECT_NE(text.find(title), std::string::npos) << library << "\n" << text;
        Run("qpdf --check " + pdf);
    }
}

TEST_F(ReportPdf, EnglishAndChineseTextsAndTheUnitShown) {
    ReportInput in = Input();
    in.unitText = "lbs";
    in.unitFactor = 2.0;
    std::string text = Text(Write(in, "tq_en.so"));
    for (const char* expected : {"FAIL", "HIGH", "LOW", "Rope difference", "10.0 lbs",
                                 "Technician's signature", "Customer's signature", "206.0"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    text = Text(Write(Input(), "tq_chn.so", true));
    for (const char* expected : {"不合格", "偏高", "偏低", "技术员签字", "客户签字"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST_F(ReportPdf, PassAndNotAssessedSayWhy) {
    ReportInput in = Input();
    in.left.ropes[1].mean = 101;
    in.left.ropes[2].mean = 99;
    std::string text = Text(Write(in, "tq_en.so"));
    EXPECT_NE(text.find("PASS"), std::string::npos) << text;
    EXPECT_NE(text.find("allowed rope difference of 5.0 kg"), std::string::npos) << text;
    in.block.reset();
    text = Text(Write(in, "tq_en.so"));
    EXPECT_NE(text.find("NOT ASSESSED"), std::string::npos) << text;
    EXPECT_NE(text.find("No parameter block was read"), std::string::npos) << text;
    EXPECT_EQ(text.find("PASS"), std::string::npos) << text;
}

TEST_F(ReportPdf, AFailedWriteLeavesTheOlderFileAndSaysWhy) {
    std::string error;
    // A folder that may not be written, with an older report: it stays, and nothing is added.
    const fs::path locked = m_dir / "locked";
    fs::create_directory(locked);
    { std::ofstream(locked / "r.pdf") << "older"; }
    ::chmod(locked.c_str(), 0500);
    if (::access(locked.c_str(), W_OK) == 0) {
        ::chmod(locked.c_str(), 0700);
        GTEST_SKIP() << "root writes anyway; report_pdf_unprivileged runs this as nobody";
    }
    const ReportInput in = Input();
    const ReportFigures figures = *MakeFigures(in, error);
    std::vector<RecordAttachment> attachments = Attachments(in);
    error.clear();
    EXPECT_FALSE(WriteReportPdf(in, figures, LoadReportTexts(GermanResources()), attachments,
                                (locked / "r.pdf").string(), error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(WriteReportCsv(in, figures, (locked / "r.csv").string(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(test::ReadFile((locked / "r.pdf").string()), "older");
    EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator{}), 1);
    ::chmod(locked.c_str(), 0700);
}

} // namespace
} // namespace tensiq::report

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
