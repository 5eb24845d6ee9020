#include "RecordReader.h"
#include "RecordFile.h"
#include "RunTool.h"
#include "SimulatorFixture.h"
#include "Unprivileged.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <vector>

using namespace tensiq;

namespace {

using Loads = std::array<std::int32_t, kRecordRopes>;

struct Read {
    RecordSummary summary;
    std::vector<Loads> frames;
    std::vector<std::int64_t> numbers;
};

class RecordReaderTest : public ::testing::Test {
protected:
    void SetUp() override { m_folder = test::MakeTempFolder("tensiq-reader-"); }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string Write(const std::string& text, const std::string& name = "record.txt") {
        const std::string path = m_folder + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    static Read ReadAll(const std::string& path) {
        Read read;
        read.summary = ReadRecord(path, [&](std::int64_t frame, const Loads& loads) {
            read.numbers.push_back(frame);
            read.frames.push_back(loads);
            return true;
        });
        return read;
    }

    std::string m_folder;
};

const std::string kDate = "07.12.2026 22:01:12\n";
const std::string kLine1 = "486;478;493;502;510;497;540;536;548;505;560;552;\n";
const std::string kLine2 = "0;-7;2147483647;-2147483648;1;2;3;4;5;6;7;8;\n";
constexpr Loads kLoads1 = {486, 478, 493, 502, 510, 497, 540, 536, 548, 505, 560, 552};
constexpr Loads kLoads2 = {0, -7, 2147483647, -2147483648, 1, 2, 3, 4, 5, 6, 7, 8};

} // namespace

TEST_F(RecordReaderTest, AWholeRecordGivesItsDateAndEveryFrameInOrder) {
    const Read read = ReadAll(Write(kDate + kLine1 + kLine2 + kLine1));
    EXPECT_EQ(read.summary.status, RecordStatus::Complete);
    EXPECT_EQ(read.summary.dateLine, "07.12.2026 22:01:12");
    EXPECT_EQ(read.summary.frames, 3);
    ASSERT_EQ(read.frames.size(), 3u);
    EXPECT_EQ(read.frames[0], kLoads1);
    EXPECT_EQ(read.frames[1], kLoads2);
    EXPECT_EQ(read.frames[2], kLoads1);
    EXPECT_EQ(read.numbers, (std::vector<std::int64_t>{1, 2, 3}));

    const Read crlf = ReadAll(Write("07.12.2026 22:01:12\r\n486;478;493;502;510;497;540;536;548;"
                                    "505;560;552;\r\n" +
                                    kLine2));
    EXPECT_EQ(crlf.summary.status, RecordStatus::Complete);
    EXPECT_EQ(crlf.summary.dateLine, "07.12.2026 22:01:12") << "no CR kept";
    ASSERT_EQ(crlf.frames.size(), 2u);
    EXPECT_EQ(crlf.frames[0], kLoads1);

    const Read dateOnly = ReadAll(Write(kDate));
    EXPECT_EQ(dateOnly.summary.status, RecordStatus::Complete);
    EXPECT_EQ(dateOnly.summary.frames, 0);

    const Read lastLineWholeWithoutEnd =
        ReadAll(Write(kDate + kLine1 + kLine2.substr(0, kLine2.size() - 1)));
    EXPECT_EQ(lastLineWholeWithoutEnd.summary.status, RecordStatus::Complete);
    EXPECT_EQ(lastLineWholeWithoutEnd.summary.frames, 2);
}

TEST_F(RecordReaderTest, ARecordWrittenByTheRecordFileReadsBackAsWritten) {
    const std::string path = m_folder + "/temp.txt";
    RecordFile record;
    ASSERT_TRUE(record.Open(path));
    std::vector<Loads> written;
    for (int frame = 0; frame < 100000; ++frame) { // lines across many buffer ends
        std::array<int, kRopes> loads{};
        Loads expected{};
        for (int rope = 0; rope < kRopes; ++rope)
            expected[rope] = loads[rope] = (frame * 7919 + rope * 104729) % 30000 - 100;
        written.push_back(expected);
        ASSERT_TRUE(record.WriteLoads(loads));
    }
    ASSERT_TRUE(record.Close());
    std::uint64_t lastDone = 0, lastSize = 0;
    int calls = 0;
    std::size_t i = 0;
    bool same = true;
    const RecordSummary summary = ReadRecord(
        path,
        [&](std::int64_t, const Loads& loads) {
            same = same && i < written.size() && loads == written[i];
            ++i;
            return true;
        },
        [&](std::uint64_t done, std::uint64_t size) {
            EXPECT_GE(done, lastDone);
            lastDone = done;
            lastSize = size;
            ++calls;
        });
    EXPECT_EQ(summary.status, RecordStatus::Complete);
    EXPECT_EQ(summary.frames, 100000);
    EXPECT_TRUE(same);
    EXPECT_EQ(summary.dateLine, test::ReadFile(path).substr(0, summary.dateLine.size()));
    EXPECT_EQ(lastDone, std::filesystem::file_size(path));
    EXPECT_EQ(lastSize, lastDone);
    EXPECT_GT(calls, 1) << "progress comes while the file is read, not only at its end";
}

TEST_F(RecordReaderTest, ABadLineStopsTheReadWithItsNumberAndWhatIsWrongAndKeepsTheFramesBefore) {
    struct Case {
        std::string line;
        RecordProblemKind kind;
        int field;
        std::string what;
    };
    const std::vector<Case> cases = {
        {"486;478;493;502;x;497;540;536;548;505;560;552;\n", RecordProblemKind::BadLoad, 5,
         "load 5 is not a whole number"},
        {"486;478;493;502;510;497;540;536;548;505;560;552\n", RecordProblemKind::TooFewLoads, 11,
         "11 loads instead of 12"},
        {"486;478;493;\n", RecordProblemKind::TooFewLoads, 3, "3 loads instead of 12"},
        {"486;478;493;502;510;497;540;536;548;505;560;552;7;\n", RecordProblemKind::ExtraText, 12,
         "follows the twelfth"},
        {"\n", RecordProblemKind::EmptyLine, 0, "empty"},
        {"\r\n", RecordProblemKind::EmptyLine, 0, "empty"},
        {"486,5;478;493;502;510;497;540;536;548;505;560;552;\n", RecordProblemKind::BadLoad, 1,
         "load 1"},
        {"1;2;3;4;5;6;7;8;9;10;11;2147483648;\n", RecordProblemKind::BadLoad, 12,
         "load 12 does not fit"},
        {"1;2;3;4;5;6;7;8;9;10;11;99999999999999999999;\n", RecordProblemKind::BadLoad, 12,
         "does not fit"},
        {"1;2; 3;4;5;6;7;8;9;10;11;12;\n", RecordProblemKind::BadLoad, 3, "load 3"},
        {"1;2;3;4;5;6;7;8;9;10;11;12;" + std::string(300, '0') + "\n", RecordProblemKind::ExtraText,
         12, "twelfth"},
        {std::string("1;2;3;4;\0;6;7;8;9;10;11;12;\n", 28), RecordProblemKind::BadLoad, 5,
         "load 5"},
    };
    for (const Case& c : cases) {
        const Read read = ReadAll(Write(kDate + kLine1 + kLine2 + c.line + kLine1));
        SCOPED_TRACE(c.line);
        EXPECT_EQ(read.summary.status, RecordStatus::StoppedAtBadLine);
        EXPECT_EQ(read.summary.problem.line, 4) << "the date line is line 1";
        EXPECT_EQ(read.summary.problem.kind, c.kind);
        EXPECT_EQ(read.summary.problem.field, c.field);
        EXPECT_NE(read.summary.problem.what.find(c.what), std::string::npos)
            << read.summary.problem.what;
        EXPECT_EQ(read.summary.frames, 2);
        ASSERT_EQ(read.frames.size(), 2u) << "nothing after the bad line";
        EXPECT_EQ(read.frames[1], kLoads2);
        EXPECT_EQ(read.summary.dateLine, "07.12.2026 22:01:12");
    }
}

TEST_F(RecordReaderTest, ALastLineCutOffIsNamedAndTheWholeFramesBeforeAreKept) {
    const Read read = ReadAll(Write(kDate + kLine1 + kLine2 + "486;478;49"));
    EXPECT_EQ(read.summary.status, RecordStatus::StoppedAtBadLine);
    EXPECT_EQ(read.summary.problem.line, 4);
    EXPECT_EQ(read.summary.problem.kind, RecordProblemKind::CutOff);
    EXPECT_EQ(read.summary.problem.field, 2);
    EXPECT_NE(read.summary.problem.what.find("ends inside this line"), std::string::npos);
    EXPECT_EQ(read.frames.size(), 2u);

    const Read afterSeparator = ReadAll(Write(kDate + kLine1 + "486;478;"));
    EXPECT_EQ(afterSeparator.summary.problem.kind, RecordProblemKind::CutOff);
    EXPECT_EQ(afterSeparator.summary.problem.line, 3);
    EXPECT_EQ(afterSeparator.summary.frames, 1);
}

TEST_F(RecordReaderTest, FilesThatAreNoRecordAreRefused) {
    struct Case {
        std::string text;
        RecordProblemKind kind;
    };
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 37 % 256);
    const std::vector<Case> cases = {
        {"", RecordProblemKind::Empty},
        {binary, RecordProblemKind::Binary},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), RecordProblemKind::Binary},
        {std::string(5000, 'a'), RecordProblemKind::Binary},
        {std::string(300, '1') + "\n" + kLine1, RecordProblemKind::Binary},
        {kLine1 + kLine2, RecordProblemKind::NoDateLine},
        {"Hello\n" + kLine1, RecordProblemKind::NoDateLine},
        {"\n" + kLine1, RecordProblemKind::NoDateLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        const Read read = ReadAll(Write(c.text));
        EXPECT_EQ(read.summary.status, RecordStatus::NotARecord);
        EXPECT_EQ(read.summary.problem.kind, c.kind);
        EXPECT_EQ(read.summary.problem.line, 1);
        EXPECT_FALSE(read.summary.problem.what.empty());
        EXPECT_EQ(read.summary.frames, 0);
        EXPECT_TRUE(read.frames.empty());
    }
    // A date in another script is still a date.
    const Read chinese = ReadAll(Write("2026/12/7 \xE6\x98\x9F\xE6\x9C\x9F 22:01:12\n" + kLine1));
    EXPECT_EQ(chinese.summary.status, RecordStatus::Complete);
    EXPECT_EQ(chinese.summary.frames, 1);
}

TEST_F(RecordReaderTest, FilesThatCannotBeOpenedSayWhy) {
    const Read missing = ReadAll(m_folder + "/none.txt");
    EXPECT_EQ(missing.summary.status, RecordStatus::CannotOpen);
    EXPECT_NE(missing.summary.problem.what.find("No such file"), std::string::npos);

    const Read folder = ReadAll(m_folder);
    EXPECT_EQ(folder.summary.status, RecordStatus::CannotOpen);
    EXPECT_NE(folder.summary.problem.what.find("directory"), std::string::npos);

    // Root reads anything, so an ordinary user in a child process tries it.
    const std::string path = Write(kDate + kLine1);
    ::chmod(path.c_str(), 0);
    ::chmod(m_folder.c_str(), 0755);
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(test::kNobody) != 0 ||
                                 ::setuid(test::kNobody) != 0))
            ::_exit(9);
        const RecordSummary summary = ReadRecord(path, {});
        ::_exit(summary.status == RecordStatus::CannotOpen &&
                        summary.problem.what.find("Permission denied") != std::string::npos
                    ? 0
                    : 1);
    }
    int status = -1;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(RecordReaderTest, AVisitorThatDeclinesCancelsTheRead) {
    const std::string path = Write(kDate + kLine1 + kLine2 + kLine1 + kLine2);
    int calls = 0;
    const RecordSummary summary = ReadRecord(path, [&](std::int64_t frame, const Loads&) {
        ++calls;
        return frame < 2;
    });
    EXPECT_EQ(summary.status, RecordStatus::Cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(summary.frames, 1);
}

TEST_F(RecordReaderTest, AFileThatGrowsWhileReadIsReadAsItWasAtTheOpenWithItsCutLineFinished) {
    // Stands in for temp.txt while a run writes it: lines appear during the read, and the
    // last one may be half written when the read starts.
    const std::string path = Write(kDate + kLine1 + kLine2 + "486;478;4");
    std::vector<Loads> frames;
    const RecordSummary summary = ReadRecord(path, [&](std::int64_t frame, const Loads& loads) {
        frames.push_back(loads);
        if (frame == 1) {
            std::ofstream(path, std::ios::app | std::ios::binary)
                << kLine1.substr(9) << kLine2 << kLine2 << "1;2;";
        }
        return true;
    });
    EXPECT_EQ(summary.status, RecordStatus::Complete);
    ASSERT_EQ(summary.frames, 3) << "the lines added later are not read";
    EXPECT_EQ(frames[2], kLoads1) << "the line cut at the open is read to its end";

    // Lines that only grow behind a whole last line are left alone too.
    const std::string whole = Write(kDate + kLine1, "whole.txt");
    const RecordSummary grown = ReadRecord(whole, [&](std::int64_t, const Loads&) {
        std::ofstream(whole, std::ios::app | std::ios::binary) << kLine2 << "5;";
        return true;
    });
    EXPECT_EQ(grown.status, RecordStatus::Complete);
    EXPECT_EQ(grown.frames, 1);
}
