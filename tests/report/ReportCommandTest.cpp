// tensiq-cli report: what it writes, its exit status for each verdict, and what it refuses.
#include "RunTool.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>

namespace tensiq::test {
namespace {

namespace fs = std::filesystem;

class ReportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tensiq-report-cli-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        ShareFolder(m_dir.string());
        Record("found.txt", {120, 80, 100});
        Record("left.txt", {100, 101, 99});
        Record("bad.txt", {100, 101, 99}, "100;101;99;0;0;0;0;0;0;0;0;\n"); // line 6: 11 loads
        Params("params.json", 3, 5);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    void Record(const std::string& name, std::initializer_list<int> loads,
                const std::string& tail = "") {
        std::ofstream out(Path(name));
        out << "07.12.2026 10:00:00\n";
        for (int i = 0; i < 4; ++i) {
            for (int v : loads)
                out << v << ';';
            for (std::size_t k = loads.size(); k < 12; ++k)
                out << "0;";
            out << '\n';
        }
        out << tail;
    }

    void Params(const std::string& name, int ropes, int ropeDifference, int emptyLoadRelay = 100,
                const std::string& extra = "") {
        std::ofstream(Path(name))
            << "{\"fullScaleLoad\": 8000, \"tare\": 450, \"emptyLoadThreshold\": " << emptyLoadRelay
            << ", \"fullLoadThreshold\": 4000, \"overloadThreshold\": 4400, "
               "\"slackRopeThreshold\": 200, \"ropeDifference\": "
            << ropeDifference
            << ", \"emptyLoadContact\": 0, \"fullLoadContact\": 1, \"overloadContact\": 1, "
               "\"slackRopeContact\": 0, \"ropeCount\": "
            << ropes << ", \"factor\": 2, \"liveZeroTenths\": 0, \"applyToPayload\": 0, " << extra
            << "\"sensorType\": 1}";
    }

    ToolResult Report(const std::string& args, const std::string& prefix = "") const {
        return RunTool(prefix + std::string(TENSIQ_CLI) + " report " + args);
    }
    std::string Standard(const std::string& found = "found.txt",
                         const std::string& left = "left.txt") const {
        return "--found " + Path(found) + " --left " + Path(left) + " --out " + Path("r.pdf") +
               " --csv " + Path("r.csv");
    }

    fs::path m_dir;
};

TEST_F(ReportCommand, ExitStatusFollowsTheVerdictWithTheFilesWritten) {
    const std::string german = " --language de --unit kg";
    ToolResult r = Report(Standard() + german + " --params " + Path("params.json") + " --json");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"verdict\": \"PASS\""), std::string::npos) << r.out;
    EXPECT_TRUE(fs::is_regular_file(Path("r.pdf")));
    EXPECT_EQ(RunTool("qpdf --check " + Path("r.pdf")).status, 0);
    EXPECT_EQ(ReadFile(Path("r.csv")).substr(0, 5), "rope,");

    Record("left.txt", {100, 110, 90});
    r = Report(Standard() + german + " --params " + Path("params.json") + " --json");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("\"verdict\": \"FAIL\""), std::string::npos) << r.out;
    EXPECT_NE(ReadFile(Path("r.csv")).find("2,80.0,-20.00,,110.0,10.00,0.0,HIGH"),
              std::string::npos)
        << ReadFile(Path("r.csv"));
    EXPECT_NE(RunTool("pdftotext " + Path("r.pdf") + " -").out.find("NICHT BESTANDEN"),
              std::string::npos);

    // Without a block the same loads are not assessed, which is no failure of the tool.
    r = Report(Standard() + " --json");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"verdict\": \"NOT ASSESSED\""), std::string::npos) << r.out;
}

TEST_F(ReportCommand, RopeDifferenceDeviceIsJudgedByItsRelayThreshold) {
    Params("variant.json", 3, 0, 30);
    Record("left.txt", {100, 110, 90});
    const std::string args = "--found " + Path("found.txt") + " --left " + Path("left.txt") +
                             " --params " + Path("variant.json") + " --json";
    ToolResult r = Report(args + " --firmware LC1.10");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"allowedFrom\": \"ropeDifferenceRelay\""), std::string::npos) << r.out;
    r = Report(args + " --firmware 'L 1.08'");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("NOT ASSESSED"), std::string::npos) << r.out;
}

TEST_F(ReportCommand, UnitAndLanguageOfTheDocument) {
    const ToolResult r = Report("--found " + Path("found.txt") + " --left " + Path("left.txt") +
                                " --csv " + Path("r.csv") + " --unit lbs");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(ReadFile(Path("r.csv")).find("as_found_lbs"), std::string::npos);

    // An installed layout: the program in bin, its language libraries in lib/tensiq.
    const fs::path bin = m_dir / "bin", lib = m_dir / "lib" / "tensiq";
    fs::create_directories(bin);
    fs::create_directories(lib);
    fs::copy_file(TENSIQ_CLI, bin / "tensiq-cli");
    fs::copy_file(std::string(TENSIQ_LANG_DIR) + "/tq_en.so", lib / "tq_en.so");
    ToolResult en =
        RunTool((bin / "tensiq-cli").string() + " report " + Standard() + " --language en");
    EXPECT_EQ(en.status, 0) << en.out;
    EXPECT_NE(RunTool("pdftotext " + Path("r.pdf") + " -").out.find("Rope tension report"),
              std::string::npos);
    // A language that is not installed is refused, not replaced by German.
    fs::remove(Path("r.pdf"));
    en = RunTool((bin / "tensiq-cli").string() + " report " + Standard() + " --language zh");
    EXPECT_EQ(en.status, 2) << en.out;
    EXPECT_NE(en.out.find("not installed"), std::string::npos) << en.out;
    EXPECT_FALSE(fs::exists(Path("r.pdf")));
}

TEST_F(ReportCommand, BadInputIsRefusedWithItsReasonAndNoFile) {
    std::ofstream(Path("empty.txt")).flush();
    Record("dateonly.txt", {});
    { std::ofstream(Path("dateonly.txt"), std::ios::trunc) << "07.12.2026 10:00:00\n"; }
    Params("thirteen.json", 13, 5);
    Params("unknown.json", 3, 5, 100, "\"colour\": 1, ");
    std::ofstream(Path("missing.json")) << "{\"ropeCount\": 3, \"ropeDifference\": 5}";
    std::ofstream(Path("broken.json")) << "{\"ropeCount\": 3,";
    Params("one.json", 1, 5);

    const struct {
        std::string args;
        std::string expected;
    } cases[] = {
        {Standard("found.txt", "bad.txt"), "bad.txt: line 6"},
        {Standard("empty.txt"), "empty.txt"},
        {Standard("found.txt", "dateonly.txt"), "holds no frames"},
        {Standard("nothere.txt"), "nothere.txt"},
        {Standard() + " --params " + Path("thirteen.json"), "ropeCount"},
        {Standard() + " --params " + Path("unknown.json"), "colour"},
        {Standard() + " --params " + Path("missing.json"), "is missing"},
        {Standard() + " --params " + Path("broken.json"), "not valid JSON"},
        {Standard() + " --params " + Path("one.json"), "two ropes"},
        {"--found " + Path("found.txt") + " --left " + Path("left.txt"), "--out"},
        {Standard() + " --unit stone", "stone"},
    };
    for (const auto& c : cases) {
        const ToolResult r = Report(c.args);
        EXPECT_EQ(r.status, 2) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.expected), std::string::npos) << c.args << "\n" << r.out;
        EXPECT_FALSE(fs::exists(Path("r.pdf"))) << c.args;
        EXPECT_FALSE(fs::exists(Path("r.csv"))) << c.args;
    }
}

TEST_F(ReportCommand, AnUnwritableTargetKeepsTheOlderFile) {
    const ToolResult missing = Report("--found " + Path("found.txt") + " --left " +
                                      Path("left.txt") + " --out " + Path("no/such/r.pdf"));
    EXPECT_EQ(missing.status, 2) << missing.out;
    EXPECT_NE(missing.out.find("no/such/r.pdf"), std::string::npos) << missing.out;

    // A folder the user may not write into, with an older report in it.
    const fs::path locked = m_dir / "locked";
    fs::create_directory(locked);
    std::ofstream(locked / "r.pdf") << "older";
    ShareFolder(m_dir.string());
    ::chmod(locked.c_str(), 0555);
    ::chmod((locked / "r.pdf").c_str(), 0444);
    ::chmod(Path("found.txt").c_str(), 0644);
    ::chmod(Path("left.txt").c_str(), 0644);
    const ToolResult r = Report("--found " + Path("found.txt") + " --left " + Path("left.txt") +
                                    " --out " + (locked / "r.pdf").string(),
                                AsOrdinaryUser());
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_NE(r.out.find("r.pdf"), std::string::npos) << r.out;
    EXPECT_EQ(ReadFile((locked / "r.pdf").string()), "older");
    EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator{}), 1);
    ::chmod(locked.c_str(), 0755);
}

} // namespace
} // namespace tensiq::test
