// The demo: ropes that even out with the total kept, the simulated ports in a private folder
// with discovery at work, the user's profile untouched, and everything removed at the end.

#include "DemoSession.h"
#include "DeviceLink.h"
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
#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

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

TEST_F(UserFolders, TheProgramsDemoCleansUpAtSigterm) {
    const std::string tmp = root + "/tmp";
    fs::create_directories(tmp);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::setenv("TMPDIR", tmp.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl(TENSIQ_PROGRAM, TENSIQ_PROGRAM, "--demo", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // The demo's folder with its three ports appears.
    const auto demoPorts = [&] {
        for (const auto& entry : fs::directory_iterator(tmp))
            if (fs::exists(entry.path() / "ports" / "COM3"))
                return true;
        return false;
    };
    const bool started = test::PumpUntil(demoPorts, 10000);
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(started);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    for (const auto& entry : fs::directory_iterator(tmp))
        EXPECT_EQ(entry.path().filename().string().rfind("tensiq-demo-", 0), std::string::npos)
            << entry.path();
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
