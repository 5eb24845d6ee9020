#include "MeasurementCopy.h"
#include "SaveFailureText.h"

#include "GermanResources.h"
#include "LocalisedString.h"
#include "ResourceIds.h"
#include "SimulatorFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tensiq;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

// A record-like text of about size bytes, with a last line that has no line end.
std::string SampleRecord(std::size_t size) {
    std::string s = "07.12.2026 14:30:00\n";
    for (int line = 0; s.size() < size; ++line)
        for (int rope = 0; rope < 12; ++rope)
            s += std::to_string((line * 37 + rope * 11) % 5000) + (rope == 11 ? ";\n" : ";");
    s += "1;2;";
    return s;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs f in a child process and returns what it returned (0-255), or -1 when it died.
template <typename F> int InChild(F&& f) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(f());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Root may write anywhere, which hides permission faults; the child drops to nobody first.
bool BecomeUnprivileged() {
    if (::geteuid() != 0)
        return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

void WriteText(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY);
    if (fd >= 0) {
        [[maybe_unused]] auto n = ::write(fd, text.data(), text.size());
        ::close(fd);
    }
}

// A mount namespace of this process's own: as root directly, otherwise inside a user namespace
// that maps the user to itself.
bool PrivateMountNamespace() {
    if (::unshare(CLONE_NEWNS) == 0)
        return true;
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    WriteText("/proc/self/setgroups", "deny");
    WriteText("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1");
    WriteText("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
    return true;
}

class MeasurementCopy : public ::testing::Test {
protected:
    void SetUp() override {
        root = test::MakeTempFolder("tensiq-copy-");
        ::chmod(root.c_str(), 0755); // reachable by the unprivileged child
        source = root + "/temp.txt";
        folder = root + "/out";
        fs::create_directory(folder);
    }
    void TearDown() override {
        ::chmod(folder.c_str(), 0755);
        fs::remove_all(root);
    }

    std::string root, source, folder;
};

} // namespace

TEST_F(MeasurementCopy, CopiesByteForByteAndReplacesAnExistingFile) {
    const std::string record = SampleRecord(300 * 1024) + std::string("\0\xff\r", 3);
    WriteFile(source, record);
    const std::string target = folder + "/Untitled.txt";

    const mode_t old = ::umask(027);
    const CopyResult first = CopyMeasurement(source, target);
    ::umask(old);
    ASSERT_TRUE(first.Ok()) << std::strerror(first.error);
    EXPECT_EQ(ReadAll(target), record);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "a new file gets the user's default mode";

    // The user agreed to replace it: new content, the file's own mode kept.
    ::chmod(target.c_str(), 0604);
    WriteFile(source, "second run\n");
    ASSERT_TRUE(CopyMeasurement(source, target).Ok());
    EXPECT_EQ(ReadAll(target), "second run\n");
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"Untitled.txt"});
    EXPECT_EQ(ReadAll(source), "second run\n") << "the record itself is left as it is";
}

TEST_F(MeasurementCopy, NoRecordYetCreatesNothing) {
    const CopyResult r = CopyMeasurement(source, folder + "/Untitled.txt");
    EXPECT_EQ(r.failure, CopyFailure::NoRecord);
    EXPECT_TRUE(FolderEntries(folder).empty());
}

TEST_F(MeasurementCopy, UnwritableFolderKeepsTheOldFileEvenForAnUnprivilegedUser) {
    WriteFile(source, SampleRecord(10000));
    ::chmod(source.c_str(), 0644);
    const std::string target = folder + "/kept.txt";
    WriteFile(target, "old measurement\n");
    ::chmod(target.c_str(), 0644);
    ::chmod(folder.c_str(), 0555);

    const int failure = InChild([&] {
        if (!BecomeUnprivileged())
            return 100;
        return static_cast<int>(CopyMeasurement(source, target).failure);
    });
    EXPECT_EQ(failure, static_cast<int>(CopyFailure::TargetNotWritable));
    EXPECT_EQ(ReadAll(target), "old measurement\n");
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"kept.txt"});
}

TEST_F(MeasurementCopy, WriteProtectedFileInAWritableFolderIsNotReplaced) {
    WriteFile(source, "new\n");
    ::chmod(source.c_str(), 0644);
    ::chmod(folder.c_str(), 0777);
    const std::string target = folder + "/protected.txt";
    WriteFile(target, "old\n");
    ::chmod(target.c_str(), 0444);

    const int failure = InChild([&] {
        if (!BecomeUnprivileged())
            return 100;
        return static_cast<int>(CopyMeasurement(source, target).failure);
    });
    EXPECT_EQ(failure, static_cast<int>(CopyFailure::TargetNotWritable));
    EXPECT_EQ(ReadAll(target), "old\n");
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"protected.txt"});
}

TEST_F(MeasurementCopy, PlacesNotEvenRootCanWriteAreReported) {
    WriteFile(source, "record\n");
    // /proc takes no new files, whoever asks.
    EXPECT_EQ(CopyMeasurement(source, "/proc/tensiq-save.txt").failure,
              CopyFailure::TargetNotWritable);
    // Something other than a plain file is never replaced, though root could rename over it.
    // (A private pipe, so a fault here cannot destroy a device of the machine.)
    const std::string pipe = root + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    EXPECT_EQ(CopyMeasurement(source, pipe).failure, CopyFailure::TargetNotWritable);
    struct stat st {};
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    // Nor a folder.
    EXPECT_EQ(CopyMeasurement(source, folder).failure, CopyFailure::TargetNotWritable);
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(MeasurementCopy, FullDiskLeavesTheOldFileAndNoPartialFile) {
    WriteFile(source, SampleRecord(256 * 1024));
    ::chmod(source.c_str(), 0644);
    const std::string disk = root + "/disk";
    fs::create_directory(disk);

    // A small tmpfs of its own, in a private mount namespace.
    const int failure = InChild([&] {
        if (!PrivateMountNamespace())
            return 200;
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
            return 200;
        WriteFile(disk + "/kept.txt", "old\n");
        const CopyResult r = CopyMeasurement(source, disk + "/kept.txt");
        if (ReadAll(disk + "/kept.txt") != "old\n")
            return 101;
        if (FolderEntries(disk) != std::vector<std::string>{"kept.txt"})
            return 102;
        return static_cast<int>(r.failure);
    });
    if (failure == 200)
        GTEST_SKIP() << "no private tmpfs here; the file size limit below still runs";
    EXPECT_EQ(failure, static_cast<int>(CopyFailure::DiskFull));
}

TEST_F(MeasurementCopy, FileSizeLimitCountsAsAFullDisk) {
    WriteFile(source, SampleRecord(64 * 1024));
    const std::string target = folder + "/kept.txt";
    WriteFile(target, "old\n");
    const int failure = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 100;
        return static_cast<int>(CopyMeasurement(source, target).failure);
    });
    EXPECT_EQ(failure, static_cast<int>(CopyFailure::DiskFull));
    EXPECT_EQ(ReadAll(target), "old\n");
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"kept.txt"});
}

TEST_F(MeasurementCopy, ALinkIsFollowedAndKept) {
    WriteFile(source, "record\n");
    const std::string real = folder + "/real.txt";
    WriteFile(real, "old\n");
    const std::string link = root + "/link.txt";
    fs::create_symlink(real, link);
    ASSERT_TRUE(CopyMeasurement(source, link).Ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), "record\n");
}

TEST_F(MeasurementCopy, ALinkToAFileNotYetThereIsFollowedAndKept) {
    WriteFile(source, "record\n");
    ::chmod(source.c_str(), 0644);
    ::chmod(folder.c_str(), 0777);
    for (const bool ordinaryUser : {false, true}) {
        SCOPED_TRACE(ordinaryUser ? "ordinary user" : "this user");
        const std::string tag = ordinaryUser ? "-nobody" : "";
        const std::string absolute = folder + "/absolute" + tag + ".txt";
        const std::string relative = folder + "/relative" + tag + ".txt";
        // One link names the file by its full path, the other by a chain of relative links.
        fs::create_symlink(absolute, folder + "/to-absolute" + tag);
        fs::create_symlink("step" + tag, folder + "/to-relative" + tag);
        fs::create_symlink("relative" + tag + ".txt", folder + "/step" + tag);
        for (const std::string& link :
             {folder + "/to-absolute" + tag, folder + "/to-relative" + tag}) {
            const int failure = InChild([&] {
                if (ordinaryUser && !BecomeUnprivileged())
                    return 100;
                return static_cast<int>(CopyMeasurement(source, link).failure);
            });
            EXPECT_EQ(failure, static_cast<int>(CopyFailure::None)) << link;
            EXPECT_TRUE(fs::is_symlink(link)) << link << " was replaced by a file";
        }
        EXPECT_EQ(ReadAll(absolute), "record\n");
        EXPECT_EQ(ReadAll(relative), "record\n");
    }
}

TEST_F(MeasurementCopy, ANameAsLongAsTheFolderAllowsIsSaved) {
    WriteFile(source, "record\n");
    ::chmod(source.c_str(), 0644);
    ::chmod(folder.c_str(), 0777);
    for (const bool ordinaryUser : {false, true}) {
        SCOPED_TRACE(ordinaryUser ? "ordinary user" : "this user");
        const std::string name = std::string(250, ordinaryUser ? 'n' : 'r') + ".txt";
        const int failure = InChild([&] {
            if (ordinaryUser && !BecomeUnprivileged())
                return 100;
            return static_cast<int>(CopyMeasurement(source, folder + "/" + name).failure);
        });
        EXPECT_EQ(failure, static_cast<int>(CopyFailure::None));
        EXPECT_EQ(ReadAll(folder + "/" + name), "record\n");
    }
    EXPECT_EQ(FolderEntries(folder).size(), 2u) << "no temporary file is left";
}

TEST_F(MeasurementCopy, DuringARunTheCopyEndsAtTheLastWholeLine) {
    WriteFile(source, "date\n1;2;\n3;4");
    ASSERT_TRUE(CopyMeasurement(source, folder + "/lines.txt", CopyExtent::WholeLines).Ok());
    EXPECT_EQ(ReadAll(folder + "/lines.txt"), "date\n1;2;\n");
    ASSERT_TRUE(CopyMeasurement(source, folder + "/all.txt", CopyExtent::WholeFile).Ok());
    EXPECT_EQ(ReadAll(folder + "/all.txt"), "date\n1;2;\n3;4");

    // A record growing under the copy, written in pieces that cut lines.
    WriteFile(source, "date\n");
    std::atomic<bool> stop{false};
    // Bounded, so that a slow copy (a sanitizer build, a busy disk) cannot make the record grow
    // without end under it.
    constexpr int kMostLines = 50'000;
    std::thread writer([&] {
        std::FILE* f = std::fopen(source.c_str(), "a");
        for (int i = 0; !stop && i < kMostLines; ++i) {
            std::fprintf(f, "%d;%d;", i, i + 1);
            std::fflush(f);
            std::fprintf(f, "%d;\n", i + 2);
            std::fflush(f);
            std::this_thread::yield();
        }
        std::fclose(f);
    });
    std::vector<std::string> copies;
    for (int i = 0; i < 20; ++i) {
        const std::string target = folder + "/run" + std::to_string(i) + ".txt";
        ASSERT_TRUE(CopyMeasurement(source, target, CopyExtent::WholeLines).Ok());
        copies.push_back(ReadAll(target));
    }
    stop = true;
    writer.join();
    const std::string final = ReadAll(source);
    for (const std::string& copy : copies) {
        ASSERT_FALSE(copy.empty());
        EXPECT_EQ(copy.back(), '\n');
        EXPECT_EQ(final.compare(0, copy.size(), copy), 0) << "a copy is the record so far";
    }
}

TEST(SaveFailureText, SaysWhatWentWrongAndNamesTheFileAtFault) {
    const auto* de = GermanResources();
    const std::string record = "/data/temp.txt";
    EXPECT_EQ(SaveFailureText({}, "/x", record, de), "");
    EXPECT_EQ(SaveFailureText({CopyFailure::NoRecord, ENOENT}, "/x/a.txt", record, de),
              LoadLocalisedString(res::kStrNoRecordYet, de));
    EXPECT_EQ(SaveFailureText({CopyFailure::RunNotRecorded, ENOENT}, "/x/a.txt", record, de),
              LoadLocalisedString(res::kStrRunNotRecorded, de));
    const std::string notWritable =
        SaveFailureText({CopyFailure::TargetNotWritable, EACCES}, "/x/a.txt", record, de);
    EXPECT_NE(notWritable.find("/x/a.txt"), std::string::npos);
    EXPECT_EQ(notWritable.find("%1"), std::string::npos);
    EXPECT_NE(SaveFailureText({CopyFailure::DiskFull, ENOSPC}, "/x/a.txt", record, de).find("voll"),
              std::string::npos);
    const std::string other = SaveFailureText({CopyFailure::Other, EIO}, "/x/a.txt", record, de);
    EXPECT_NE(other.find(std::strerror(EIO)), std::string::npos);
    // A record that cannot be read is the record's fault, not the target's.
    const std::string unreadable =
        SaveFailureText({CopyFailure::SourceUnreadable, EISDIR}, "/x/a.txt", record, de);
    EXPECT_NE(unreadable.find(record), std::string::npos) << unreadable;
    EXPECT_EQ(unreadable.find("/x/a.txt"), std::string::npos) << unreadable;
    EXPECT_NE(unreadable.find(std::strerror(EISDIR)), std::string::npos) << unreadable;
}

TEST(SaveFailureText, APathWithPercentSignsIsInsertedAsItStands) {
    EXPECT_EQ(FillPlaceholders("a %1 b %2 c %3 %", "/t/%2%s.txt", "why"),
              "a /t/%2%s.txt b why c %3 %");
}
