#include "RunWindowFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace tensiq;
using namespace tensiq::test;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SaveWindow : public RunWindowFixture {
protected:
    void SetUp() override {
        RunWindowFixture::SetUp();
        m_files = std::make_unique<ScopedSaveFileHandler>([this](const SaveFileRequest& r) {
            requests.push_back(r);
            if (chosen.empty())
                return QString();
            const QString path = chosen.front();
            chosen.pop_front();
            return path;
        });
        folder = Root() + "/saved";
        fs::create_directories(folder);
    }
    void TearDown() override {
        ::chmod(folder.c_str(), 0755);
        m_files.reset();
        RunWindowFixture::TearDown();
    }

    std::vector<SaveFileRequest> requests;
    std::deque<QString> chosen;
    std::string folder;

private:
    std::unique_ptr<ScopedSaveFileHandler> m_files;
};

} // namespace

TEST_F(SaveWindow, TheDialogAsAskedForAndACopyByteForByte) {
    sim->AddDevice(3, SteadyDevice({120, 130}, 2));
    Open();
    MeasureOnce({120, 130});
    const std::string target = folder + "/run.txt";
    chosen = {QString::fromStdString(target)};
    dlg->m_saveButton.click();

    ASSERT_EQ(requests.size(), 1u);
    const SaveFileRequest& r = requests[0];
    EXPECT_EQ(r.parent, dlg.get());
    EXPECT_EQ(r.title, Localised(res::kStrSaveAs));
    EXPECT_EQ(r.filter, Localised(res::kStrTextFile) + QStringLiteral(" (*.txt)|*.txt|") +
                            Localised(res::kStrAllFiles) + QStringLiteral(" (*.*)|*.*||"));
    EXPECT_EQ(r.fileName, QStringLiteral("Untitled.txt"));
    EXPECT_EQ(r.defaultExtension, QStringLiteral("txt"));
    EXPECT_EQ(r.flags, 0x0006u);
    const auto filters = ParseFileFilter(r.filter);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].second, QStringLiteral("*.txt"));
    EXPECT_EQ(filters[1].second, QStringLiteral("*.*"));

    EXPECT_TRUE(boxes.empty()) << BoxTexts();
    const std::string record = ReadAll(RecordPath());
    EXPECT_GT(record.size(), 40u);
    EXPECT_EQ(ReadAll(target), record);
}

TEST_F(SaveWindow, CancelWritesNothing) {
    sim->AddDevice(3, SteadyDevice({120, 130}, 2));
    Open();
    MeasureOnce({120, 130});
    dlg->OnSaveMeasurement();
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_TRUE(boxes.empty()) << BoxTexts();
}

TEST_F(SaveWindow, AnExistingFileIsReplacedOnlyWhenTheUserAgrees) {
    sim->AddDevice(3, SteadyDevice({120, 130}, 2));
    Open();
    MeasureOnce({120, 130});
    const std::string target = folder + "/kept.txt";
    std::ofstream(target) << "old\n";
    const QString path = QString::fromStdString(target);

    // No: the dialog comes back, and Cancel there keeps the old file.
    chosen = {path};
    answers = {IDNO};
    dlg->OnSaveMeasurement();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.contains(path));
    EXPECT_EQ(boxes[0].type & MB_TYPEMASK, MB_YESNO);
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_EQ(ReadAll(target), "old\n");

    // Yes: replaced by the record.
    chosen = {path};
    answers = {IDYES};
    dlg->OnSaveMeasurement();
    EXPECT_EQ(ReadAll(target), ReadAll(RecordPath()));
}

TEST_F(SaveWindow, NoRecordYetIsSaid) {
    Open();
    ASSERT_FALSE(fs::exists(RecordPath()));
    chosen = {QString::fromStdString(folder + "/x.txt")};
    dlg->OnSaveMeasurement();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Localised(res::kStrNoRecordYet));
    EXPECT_EQ(boxes[0].caption, Localised(res::kStrError));
    EXPECT_EQ(boxes[0].type, MB_OK | MB_ICONHAND);
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(SaveWindow, AnUnwritableTargetIsReportedAndTheOldFileKept) {
    sim->AddDevice(3, SteadyDevice({120, 130}, 2));
    Open();
    MeasureOnce({120, 130});

    // Nobody, root included, makes files in /proc.
    const QString procTarget = QStringLiteral("/proc/tensiq-run.txt");
    chosen = {procTarget};
    dlg->OnSaveMeasurement();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              Localised(res::kStrSaveNotWritable).replace(QStringLiteral("%1"), procTarget));
    EXPECT_EQ(boxes[0].caption, Localised(res::kStrError));
    EXPECT_EQ(boxes[0].type, MB_OK | MB_ICONHAND);

    // A folder without write permission; root ignores it, so this part needs an ordinary user
    // (the test is run once more as one).
    if (::geteuid() == 0)
        return;
    const std::string target = folder + "/kept.txt";
    std::ofstream(target) << "old\n";
    ::chmod(folder.c_str(), 0555);
    boxes.clear();
    answers = {IDYES};
    chosen = {QString::fromStdString(target)};
    dlg->OnSaveMeasurement();
    ASSERT_EQ(boxes.size(), 2u) << "the replace question, then the failure";
    EXPECT_EQ(boxes[1].text, Localised(res::kStrSaveNotWritable)
                                 .replace(QStringLiteral("%1"), QString::fromStdString(target)));
    EXPECT_EQ(ReadAll(target), "old\n");
    EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), "kept.txt");
}

TEST_F(SaveWindow, DuringARunTheCopyHoldsTheRecordSoFar) {
    sim->AddDevice(3, SteadyDevice({120, 130}, 2, 1, 200.0));
    Open();
    dlg->OnStartStop();
    AwaitFrames(40);
    const std::string target = folder + "/live.txt";
    chosen = {QString::fromStdString(target)};
    dlg->OnSaveMeasurement();
    EXPECT_TRUE(boxes.empty()) << BoxTexts();
    ASSERT_TRUE(PumpUntil([&] { return dlg->Acquisition()->FrameCount() > 80; }));
    dlg->OnStartStop();

    const std::string copy = ReadAll(target);
    const std::string record = ReadAll(RecordPath());
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(copy.back(), '\n') << "whole lines only";
    EXPECT_LT(copy.size(), record.size());
    EXPECT_EQ(record.compare(0, copy.size(), copy), 0);
}

// While the run is on, the line the thread is writing is not the user's yet: the copy ends at
// the last whole line, whatever the file holds beyond it at that moment.
TEST_F(SaveWindow, ASaveDuringARunLeavesOutTheLineBeingWritten) {
    Open();
    const std::string record = RecordPath();
    ASSERT_FALSE(record.empty());
    std::ofstream(record, std::ios::binary) << "Mo 7.12.2026\n1;2;3;4;5;6;7;8;9;10;11;12;\n13;1";
    const std::string target = folder + "/live.txt";
    chosen = {QString::fromStdString(target)};
    // The thread would take the flag for a run of its own and start the record afresh.
    dlg->ShutDownAcquisition();
    dlg->Context().runFlag = 1; // as the thread sees a run
    dlg->OnSaveMeasurement();
    dlg->Context().runFlag = 0;
    EXPECT_TRUE(boxes.empty()) << BoxTexts();
    EXPECT_EQ(ReadAll(target), "Mo 7.12.2026\n1;2;3;4;5;6;7;8;9;10;11;12;\n");

    // Once the run is over the record is the user's as it stands.
    chosen = {QString::fromStdString(target)};
    answers = {IDYES};
    dlg->OnSaveMeasurement();
    EXPECT_EQ(ReadAll(target), ReadAll(record));
}

// A run without its record is told of at its start, and a save afterwards never hands out an
// earlier run's record in its place.
TEST_F(SaveWindow, ARunThatCannotBeRecordedIsToldAtStartAndNothingElseIsSaved) {
    sim->AddDevice(3, SteadyDevice({120, 130}, 2));
    Open();
    MeasureOnce({120, 130});
    const std::string record = RecordPath();
    ASSERT_FALSE(ReadAll(record).empty());
    const std::string data = std::getenv("XDG_DATA_HOME");
    const auto notKept = [](const std::string& why) {
        return Localised(res::kStrRecordNotKept)
            .replace(QStringLiteral("%1"), QString::fromStdString(why));
    };
    const auto runAndSave = [&](const std::string& target) {
        boxes.clear();
        dlg->OnStartStop();
        AwaitFrames(3);
        dlg->OnStartStop();
        chosen = {QString::fromStdString(target)};
        dlg->OnSaveMeasurement();
        // A loaded machine may miss the first synchronisation; AwaitFrames has run it again.
        std::erase_if(
            boxes, [](const MessageBoxRequest& b) { return b.text == Localised(res::kStrNoSync); });
    };

    // The record's place is taken by a folder.
    fs::remove(record);
    fs::create_directory(record);
    runAndSave(folder + "/folder.txt");
    ASSERT_EQ(boxes.size(), 2u) << BoxTexts();
    EXPECT_EQ(boxes[0].text, notKept(record + ": " + std::strerror(EISDIR)));
    EXPECT_EQ(boxes[1].text, Localised(res::kStrRunNotRecorded));
    EXPECT_TRUE(fs::is_empty(folder));

    // The data folder cannot be made: a file is where it should be.
    fs::remove_all(data);
    std::ofstream(data) << "in the way\n";
    runAndSave(folder + "/nofolder.txt");
    ASSERT_EQ(boxes.size(), 2u) << BoxTexts();
    EXPECT_EQ(boxes[0].text, notKept(data + ": " + std::strerror(ENOTDIR)));
    EXPECT_EQ(boxes[1].text, Localised(res::kStrRunNotRecorded));
    EXPECT_TRUE(fs::is_empty(folder));
    fs::remove(data);

    // The previous run's record cannot be removed from a folder this user may not write; root
    // may, so this part needs an ordinary user (the test is run once more as one).
    if (::geteuid() == 0)
        return;
    MeasureOnce({120, 130});
    const std::string stale = RecordPath();
    ASSERT_FALSE(ReadAll(stale).empty());
    const std::string dataFolder = fs::path(stale).parent_path().string();
    ::chmod(dataFolder.c_str(), 0555);
    runAndSave(folder + "/stale.txt");
    ::chmod(dataFolder.c_str(), 0700);
    ASSERT_EQ(boxes.size(), 2u) << BoxTexts();
    EXPECT_EQ(boxes[0].text, notKept(stale + ": " + std::strerror(EACCES)));
    EXPECT_EQ(boxes[1].text, Localised(res::kStrRunNotRecorded));
    EXPECT_TRUE(fs::is_empty(folder)) << "the earlier run's record was saved as this run's";
}

TEST_F(SaveWindow, ARecordThatIsAFolderIsNamedNotTheTarget) {
    Open();
    fs::create_directories(RecordPath());
    const std::string target = folder + "/x.txt";
    chosen = {QString::fromStdString(target)};
    dlg->OnSaveMeasurement();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              Localised(res::kStrRecordUnreadable)
                  .replace(QStringLiteral("%1"), QString::fromStdString(RecordPath()))
                  .replace(QStringLiteral("%2"), QString::fromLatin1(std::strerror(EISDIR))));
    EXPECT_TRUE(fs::is_empty(folder));
}
