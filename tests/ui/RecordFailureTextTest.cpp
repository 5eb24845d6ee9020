// A run's failed record told in the window's language, not in the command line's English.

#include "RecordFailureText.h"
#include "LocalisedString.h"
#include "ModuleSet.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace tensiq;

namespace {

const std::string kPath = "/home/anna/.local/share/Tensiq/temp.txt";

RecordFailure Failure(RecordFailure::Step step, int error, long kept = 0) {
    return RecordFailure{step, kPath, error, kept, false};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct Words {
    const char* name;
    const char* created;
    const char* written;
    const char* closed;
    const char* keeps20;
    const char* diskFull;
    const char* tooLarge;
    const char* noPermission;
    const char* noFolder;
    const char* lastLine;
};

// What each language says, as a translator wrote it.
const Words kWords[] = {
    {"de", "kann nicht angelegt werden", "konnte nicht geschrieben werden",
     "konnte nicht abgeschlossen werden", "Sie enthält die ersten 20 Zeilen der Messung.",
     "Der Datenträger ist voll", "größte erlaubte Größe", "Keine Berechtigung",
     "Der Ordner ist nicht vorhanden", "Ihre letzte Zeile ist möglicherweise unvollständig."},
    {"en", "cannot be created", "could not be written", "could not be closed",
     "It keeps the first 20 lines of the measurement.", "The disk is full", "largest size allowed",
     "No permission", "The folder does not exist", "Its last line may be incomplete."},
    {"chn", "无法创建", "无法写入", "无法关闭", "前 20 行", "磁盘已满", "最大大小", "没有写入权限",
     "文件夹不存在", "最后一行可能不完整"},
};

} // namespace

TEST(RecordFailureText, TheWholeMessageInGerman) {
    EXPECT_EQ(RecordFailureText(Failure(RecordFailure::Step::Write, ENOSPC, 20), GermanResources()),
              "Die Aufzeichnung der Messung konnte nicht geschrieben werden:\n" + kPath +
                  "\n(Der Datenträger ist voll)\nSie enthält die ersten 20 Zeilen der Messung.");
}

TEST(RecordFailureText, EachStepReasonAndWhatIsKeptInEveryLanguage) {
    test::ModuleSet modules;
    ASSERT_TRUE(modules.Loaded());
    const auto all = modules.All();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const auto& [name, module] = all[i];
        const Words& w = kWords[i];
        ASSERT_EQ(name, w.name);
        const auto text = [module = module](const RecordFailure& f) {
            return RecordFailureText(f, module);
        };

        const std::string created = text(Failure(RecordFailure::Step::Create, EACCES));
        EXPECT_TRUE(Contains(created, w.created)) << created;
        EXPECT_TRUE(Contains(created, w.noPermission)) << created;
        EXPECT_TRUE(Contains(created, kPath)) << created;
        EXPECT_FALSE(Contains(created, w.keeps20)) << "nothing was recorded yet: " << created;

        const std::string written = text(Failure(RecordFailure::Step::Write, ENOSPC, 20));
        EXPECT_TRUE(Contains(written, w.written)) << written;
        EXPECT_TRUE(Contains(written, w.diskFull)) << written;
        EXPECT_TRUE(Contains(written, w.keeps20)) << written;
        EXPECT_TRUE(Contains(written, kPath)) << written;
        EXPECT_FALSE(Contains(written, w.lastLine)) << written;

        RecordFailure cut = Failure(RecordFailure::Step::Write, EFBIG, 20);
        cut.lastLineMayBeIncomplete = true;
        EXPECT_TRUE(Contains(text(cut), w.tooLarge)) << text(cut);
        EXPECT_TRUE(Contains(text(cut), w.lastLine)) << text(cut);

        const std::string closed = text(Failure(RecordFailure::Step::Close, EIO, 20));
        EXPECT_TRUE(Contains(closed, w.closed)) << closed;
        // A reason the program has no words of its own for is the system's.
        EXPECT_TRUE(Contains(closed, std::strerror(EIO))) << closed;

        EXPECT_TRUE(Contains(text(Failure(RecordFailure::Step::Create, ENOENT)), w.noFolder));
        for (const RecordFailure& f : {Failure(RecordFailure::Step::Create, EACCES), cut,
                                       Failure(RecordFailure::Step::Close, EIO, 20)}) {
            if (name != "en") {
                EXPECT_FALSE(Contains(text(f), "record")) << name << ": " << text(f);
            }
        }
    }
}

TEST(RecordFailureText, TheCommandLineKeepsItsEnglish) {
    RecordFailure full = Failure(RecordFailure::Step::Write, ENOSPC, 20);
    EXPECT_EQ(full.Text(), "The record " + kPath +
                               " could not be written: No space left on device. It keeps the "
                               "first 20 frames.");
    full.path = "-";
    EXPECT_EQ(full.Text(), "The record on standard output could not be written: No space left on "
                           "device. 20 frames were passed on before.");
}
