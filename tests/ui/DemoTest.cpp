// The demo: ropes that even out with the total kept, the simulated ports in a private folder
// with discovery at work, the user's profile untouched, and everything removed at the end.

#include "DemoSession.h"
#include "DeviceLink.h"
#include "QuitOnSignal.h"
#include "RopeLoadDlgProbe.h"
#include "RunTool.h"
#include "SettingsProfile.h"
#include "SimulatorFixture.h"
#include "UiTestSupport.h"
#include "Version.h"
#include "WindowSink.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

using namespace tensiq;
namespace fs = std::filesystem;

namespace {

// The user's own folders, with a remembered port of 7 that a demo must not replace.
class UserFolders : public ::testing::Test {
protected:
    void SetUp() override {
        root = test::MakeTempFolder("tensiq-user-");
        config = root + "/config";
        fs::create_directories(config + "/Tensiq");
        conf = config + "/Tensiq/Tensiq.conf";
        std::FILE* f = std::fopen(conf.c_str(), "w");
        std::fputs("[Settings]\nLastTQFound=7\n", f);
        std::fclose(f);
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(config));
    }
    void TearDown() override { fs::remove_all(root); }

    std::string root, config, conf;
};

} // namespace

TEST_F(UserFolders, DemoSessionRunsTheDeviceBehindASilentAndANoisyPortAndKeepsTheProfile) {
    std::string folder;
    {
        DemoSession demo;
        ASSERT_TRUE(demo.Ok());
        folder = demo.Folder();
        EXPECT_EQ(std::string(std::getenv("TENSIQ_PORT_DIR")), demo.PortFolder());
        for (int n : {kDemoSilentPort, kDemoNoisePort, kDemoDevicePort})
            EXPECT_TRUE(fs::exists(demo.PortFolder() + "/COM" + std::to_string(n))) << n;
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::others_all, fs::perms::none);

        SettingsProfile profile;
        test::RopeLoadDlgProbe dlg(nullptr, &profile);
        dlg.SetCaptionSuffix(QStringLiteral(" – Demo"));
        ASSERT_TRUE(dlg.Create());
        dlg.show();
        EXPECT_TRUE(dlg.windowTitle().endsWith(QStringLiteral("Demo")));
        // Discovery passes the silent and the noisy port and remembers the device's port.
        dlg.m_comPort = dlg.m_link.DiscoverPort(-1);
        EXPECT_EQ(dlg.m_comPort, kDemoDevicePort);
        EXPECT_EQ(profile.GetInt("Settings", "LastTQFound", -1), kDemoDevicePort);
        ASSERT_TRUE(dlg.m_link.Open(dlg.m_comPort));
        ParameterBlock block;
        ASSERT_TRUE(dlg.m_link.ReadParameters(block));
        dlg.SetStoredBlock(block);
        dlg.Acquisition()->StartRun();
        std::array<int, 12> seen{};
        ASSERT_TRUE(test::PumpUntil([&] {
            for (int k = 0; k < kRopes; ++k)
                seen[k] = dlg.m_bars[k].GetPos();
            return std::count(seen.begin(), seen.end(), 0) == 0;
        }));
        const auto [lightest, heaviest] = std::minmax_element(seen.begin(), seen.end());
        EXPECT_GT(*heaviest - *lightest, 100); // the ropes carry different loads
        EXPECT_TRUE(dlg.m_totalLabel.GetCaption().endsWith(QStringLiteral(" kg")));
        dlg.m_quitButton.click();
    }
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(std::string(std::getenv("XDG_CONFIG_HOME")), config);
    EXPECT_EQ(test::ReadFile(conf), "[Settings]\nLastTQFound=7\n");
}

namespace {

// The program's demo with its temporary folder in tmp.
pid_t StartDemo(const std::string& tmp) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("TMPDIR", tmp.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl(TENSIQ_PROGRAM, TENSIQ_PROGRAM, "--demo", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

// The demo folders in tmp whose three ports are up.
int DemosUp(const std::string& tmp) {
    int up = 0;
    for (const auto& entry : fs::directory_iterator(tmp))
        if (fs::exists(entry.path() / "ports" / "COM3"))
            ++up;
    return up;
}

std::vector<std::string> DemoFolders(const std::string& tmp) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(tmp))
        if (entry.path().filename().string().rfind("tensiq-demo-", 0) == 0)
            found.push_back(entry.path().filename().string());
    return found;
}

// The status of a program that was asked to end by a signal.
int EndedBy(pid_t pid, int signal) {
    ::kill(pid, signal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TEST_F(UserFolders, TheProgramsDemoCleansUpAtSigtermAndSighup) {
    const std::string tmp = root + "/tmp";
    fs::create_directories(tmp);
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        const pid_t pid = StartDemo(tmp);
        ASSERT_GE(pid, 0);
        const bool started = test::PumpUntil([&] { return DemosUp(tmp) == 1; }, 10000);
        const int status = EndedBy(pid, signal);
        ASSERT_TRUE(started);
        EXPECT_EQ(status, 0);
        EXPECT_TRUE(DemoFolders(tmp).empty()) << DemoFolders(tmp)[0];
        EXPECT_EQ(test::ReadFile(conf), "[Settings]\nLastTQFound=7\n");
    }
}

TEST_F(UserFolders, TheNextDemoRemovesWhatAKilledDemoLeft) {
    const std::string tmp = root + "/tmp";
    fs::create_directories(tmp);
    const pid_t killed = StartDemo(tmp);
    ASSERT_TRUE(test::PumpUntil([&] { return DemosUp(tmp) == 1; }, 10000));
    EXPECT_EQ(EndedBy(killed, SIGKILL), 128 + SIGKILL);
    ASSERT_EQ(DemoFolders(tmp).size(), 1u) << "nothing can clean up after SIGKILL";
    // The folder of a demo that still runs (this test, as far as its name says) stays.
    const std::string running = "tensiq-demo-" + std::to_string(::getpid()) + "-abcdef";
    fs::create_directories(tmp + "/" + running);

    const pid_t next = StartDemo(tmp);
    const bool started = test::PumpUntil([&] { return DemosUp(tmp) == 1; }, 10000);
    const std::vector<std::string> during = DemoFolders(tmp);
    EXPECT_EQ(EndedBy(next, SIGTERM), 0);
    ASSERT_TRUE(started);
    EXPECT_EQ(during.size(), 2u) << "the killed demo's folder is gone, the running one's kept";
    EXPECT_EQ(DemoFolders(tmp), std::vector<std::string>{running});
}

TEST_F(UserFolders, ADemoWithoutDisplayOrPseudoTerminalsSaysWhyAndLeavesNothing) {
    const std::string tmp = root + "/tmp";
    fs::create_directories(tmp);
    const std::string program = std::string(TENSIQ_PROGRAM) + " --demo";
    const auto noDisplay = test::RunTool(
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb TMPDIR='" + tmp + "' " + program);
    EXPECT_EQ(noDisplay.status, 1) << noDisplay.out;
    EXPECT_NE(noDisplay.out.find("tensiq: no display"), std::string::npos) << noDisplay.out;
    EXPECT_TRUE(DemoFolders(tmp).empty());

    // A container without /dev/pts: a private mount namespace hides it.
    std::string unshare = "unshare -m";
    if (test::RunTool(unshare + " true").status != 0)
        unshare = "unshare -rm";
    if (test::RunTool(unshare + " true").status != 0)
        GTEST_SKIP() << "no private mount namespace here";
    const auto noPts = test::RunTool(unshare +
                                     " sh -c \"mount -t tmpfs none /dev/pts && exec "
                                     "env QT_QPA_PLATFORM=offscreen TMPDIR='" +
                                     tmp + "' " + program + "\"");
    EXPECT_EQ(noPts.status, 1) << noPts.out;
    EXPECT_NE(noPts.out.find("tensiq: cannot make the simulated ports: "), std::string::npos)
        << noPts.out;
    EXPECT_TRUE(DemoFolders(tmp).empty());
    EXPECT_EQ(test::ReadFile(conf), "[Settings]\nLastTQFound=7\n");
}

TEST(Program, HelpAndVersionNeedNoDisplay) {
    const test::ToolResult help =
        test::RunTool(std::string("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb ") +
                      TENSIQ_PROGRAM + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--demo"), std::string::npos);
    EXPECT_NE(help.out.find("--version"), std::string::npos);
    const test::ToolResult version = test::RunTool(std::string(TENSIQ_PROGRAM) + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("tensiq ") + kVersion + "\n");
    EXPECT_NE(test::RunTool(std::string(TENSIQ_PROGRAM) + " --no-such-option").status, 0);
}

// A record beyond the file size limit, or on a pipe whose reader left, is a failed write that
// the run reports (the acquisition tests cover that path); the signals must not end the window
// first. SIGHUP, a closed terminal, ends it as SIGTERM does.
TEST(Program, WriteFaultSignalsLeaveTheWindowAliveAndSighupClosesIt) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        CatchQuitSignals();
        ::raise(SIGXFSZ);
        int pipe[2];
        if (::pipe(pipe) != 0)
            ::_exit(10);
        ::close(pipe[0]);
        const bool broken = ::write(pipe[1], "x", 1) < 0 && errno == EPIPE;
        ::raise(SIGHUP);
        ::_exit(!broken ? 11 : !QuitSignalled() ? 12 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
