// ports and doctor against a faked system (TENSIQ_SYSTEM_ROOT: dev/, sys/, proc/, etc/, ...)
// whose serial devices are links to real pseudo-terminals, so opens and locks are real.
#include "PseudoTerminalPair.h"
#include "RunTool.h"
#include "SerialPort.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using nlohmann::json;
using tensiq::test::RunTool;

namespace {

// Runs the tool as nobody with no supplementary groups; root hides permission faults.
const std::string kAsNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";

class FakeSystem {
public:
    FakeSystem() {
        std::string pattern = (fs::temp_directory_path() / "tensiq-system-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_root = pattern;
        fs::permissions(m_root, fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
        fs::create_directories(m_root / "dev");
        fs::create_directories(m_root / "proc");
    }
    ~FakeSystem() { fs::remove_all(m_root); }
    const fs::path& Root() const { return m_root; }

    void Write(const std::string& path, const std::string& text) const {
        const fs::path file = m_root / path.substr(1);
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    void Link(const std::string& path, const std::string& target) const {
        const fs::path link = m_root / path.substr(1);
        fs::create_directories(link.parent_path());
        fs::create_symlink(target, link);
    }
    // The tool with this system; env may add variables, prefix runs it as another user.
    tensiq::test::ToolResult Cli(const std::string& args, const std::string& env = "",
                                 const std::string& prefix = "") const {
        return RunTool("env -u TENSIQ_PORT_DIR TENSIQ_SYSTEM_ROOT='" + m_root.string() + "' " +
                       env + " " + prefix + TENSIQ_CLI + " " + args);
    }

private:
    fs::path m_root;
};

// A serial line as the kernel sees it: the slave of a pseudo-terminal, open for everyone so the
// unprivileged runs can reach it.
class Pty {
public:
    Pty() {
        if (!m_pair.IsOpen())
            throw std::runtime_error("no pseudo-terminal");
        m_slave = m_pair.SlavePath();
        chmod(m_slave.c_str(), 0666);
    }
    ~Pty() { Release(); }
    const std::string& Path() const { return m_slave; }
    void Flock() {
        Open();
        ASSERT_EQ(flock(m_fd, LOCK_EX | LOCK_NB), 0);
    }
    void Exclusive() {
        Open();
        ASSERT_EQ(ioctl(m_fd, TIOCEXCL), 0);
    }
    void Release() {
        if (m_fd < 0)
            return;
        ioctl(m_fd, TIOCNXCL);
        close(m_fd);
        m_fd = -1;
    }
    // The "major:minor:inode" by which /proc/locks names it.
    std::string LockId() const {
        struct stat st {};
        stat(m_slave.c_str(), &st);
        char id[64];
        std::snprintf(id, sizeof id, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                      static_cast<unsigned long long>(st.st_ino));
        return id;
    }

private:
    void Open() {
        if (m_fd < 0)
            m_fd = open(m_slave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(m_fd, 0);
    }
    tensiq::test::PseudoTerminalPair m_pair;
    int m_fd = -1;
    std::string m_slave;
};

json Parse(const tensiq::test::ToolResult& result) {
    try {
        return json::parse(result.out);
    } catch (const std::exception&) {
        ADD_FAILURE() << "not JSON: " << result.out;
        return json::object();
    }
}

json PortsOf(const FakeSystem& system, const std::string& env = "",
             const std::string& prefix = "") {
    auto result = system.Cli("ports --json", env, prefix);
    EXPECT_EQ(result.status, 0) << result.out;
    return Parse(result)["ports"];
}

json FindingsOf(const json& report, const std::string& check) {
    json found = json::array();
    for (const auto& f : report["findings"])
        if (f["check"] == check)
            found.push_back(f);
    return found;
}

std::string OwnProgramName() {
    std::ifstream in("/proc/self/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

bool CanSwitchUser() {
    return geteuid() == 0;
}

} // namespace

TEST(PortsCommand, ListsTheProbedPortsThatExistWithTheirAdapter) {
    FakeSystem system;
    Pty usb, acm, uart, noUart;
    system.Link("/dev/ttyUSB0", usb.Path());
    system.Link("/dev/ttyACM0", acm.Path());
    system.Link("/dev/ttyS0", noUart.Path()); // a legacy node with no UART behind it
    system.Write("/sys/class/tty/ttyS0/type", "0\n");
    system.Link("/dev/ttyS1", uart.Path());
    system.Write("/sys/class/tty/ttyS1/type", "4\n");
    system.Write("/dev/ttyUSB5", "not a device"); // not a character device: never probed
    system.Link("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "../../ttyUSB0");
    const std::string usbDevice = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2";
    system.Write(usbDevice + "/idVendor", "0403\n");
    system.Write(usbDevice + "/idProduct", "6001\n");
    system.Write(usbDevice + "/manufacturer", "FTDI\n");
    system.Write(usbDevice + "/product", "FT232R USB UART\n");
    system.Write(usbDevice + "/serial", "A50285BI\n");
    system.Write(usbDevice + "/1-2:1.0/ttyUSB0/dev", "188:0\n");
    system.Link("/sys/class/tty/ttyUSB0/device",
                "../../../devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0");

    const json ports = PortsOf(system);
    ASSERT_EQ(ports.size(), 3u) << ports.dump(2);
    EXPECT_EQ(ports[0]["com"], 1);
    EXPECT_EQ(ports[0]["path"], (system.Root() / "dev/ttyUSB0").string());
    EXPECT_EQ(ports[0]["byId"], "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    EXPECT_EQ(ports[0]["maker"], "FTDI");
    EXPECT_EQ(ports[0]["model"], "FT232R USB UART");
    EXPECT_EQ(ports[0]["serial"], "A50285BI");
    EXPECT_EQ(ports[0]["usbId"], "0403:6001");
    EXPECT_EQ(ports[1]["com"], 33);
    EXPECT_TRUE(ports[1]["byId"].is_null());
    EXPECT_TRUE(ports[1]["maker"].is_null());
    EXPECT_EQ(ports[2]["com"], 66);
    for (const auto& port : ports) {
        EXPECT_EQ(port["mayOpen"], true);
        EXPECT_EQ(port["held"], false);
        // A pseudo-terminal has no serial driver settings to switch.
        EXPECT_EQ(port["lowLatency"], "not applicable");
    }

    auto text = system.Cli("ports");
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("FTDI, FT232R USB UART, serial number A50285BI (USB 0403:6001)"),
              std::string::npos)
        << text.out;
}

TEST(PortsCommand, ThePortFolderOfTheSimulatorIsWhatIsListed) {
    FakeSystem system;
    Pty usb, linked;
    system.Link("/dev/ttyUSB0", usb.Path());
    const fs::path portDir = system.Root() / "ports";
    fs::create_directories(portDir);
    fs::create_symlink(linked.Path(), portDir / "COM4");
    const json ports = PortsOf(system, "TENSIQ_PORT_DIR='" + portDir.string() + "'");
    ASSERT_EQ(ports.size(), 1u) << ports.dump(2);
    EXPECT_EQ(ports[0]["com"], 4);
    EXPECT_EQ(ports[0]["path"], (portDir / "COM4").string());
}

TEST(PortsCommand, APortLockedByAnotherProgramIsHeld) {
    FakeSystem system; // its proc/ is empty: only the lock attempt can tell
    Pty locked, free;
    system.Link("/dev/ttyUSB0", locked.Path());
    system.Link("/dev/ttyUSB1", free.Path());
    locked.Flock();
    json ports = PortsOf(system);
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0]["held"], true);
    EXPECT_EQ(ports[1]["held"], false);
    EXPECT_TRUE(ports[0]["lowLatency"].is_null()) << "a held port is not touched";
    if (CanSwitchUser()) {
        ports = PortsOf(system, "", kAsNobody);
        ASSERT_EQ(ports.size(), 2u);
        EXPECT_EQ(ports[0]["held"], true);
        EXPECT_EQ(ports[1]["held"], false);
    }
    locked.Release();
    EXPECT_EQ(PortsOf(system)[0]["held"], false);
}

TEST(PortsCommand, ThePortsExclusiveModeMeansHeldForAUser) {
    if (!CanSwitchUser())
        GTEST_SKIP() << "needs root to run the tool as another user";
    FakeSystem system;
    Pty port;
    system.Link("/dev/ttyUSB0", port.Path());
    port.Exclusive();
    json ports = PortsOf(system, "", kAsNobody);
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0]["held"], true);
    EXPECT_EQ(ports[0]["mayOpen"], true);
}

TEST(PortsCommand, NamesTheHolderFromTheRealLockTable) {
    Pty port;
    port.Flock();
    const fs::path portDir =
        fs::temp_directory_path() / ("tensiq-ports-" + std::to_string(getpid()));
    fs::create_directories(portDir);
    fs::create_symlink(port.Path(), portDir / "COM2");
    auto result = RunTool("env -u TENSIQ_SYSTEM_ROOT TENSIQ_PORT_DIR='" + portDir.string() + "' " +
                          TENSIQ_CLI + " ports --json");
    fs::remove_all(portDir);
    const json ports = Parse(result)["ports"];
    ASSERT_EQ(ports.size(), 1u) << result.out;
    EXPECT_EQ(ports[0]["held"], true);
    ASSERT_EQ(ports[0]["heldBy"].size(), 1u) << result.out;
    EXPECT_EQ(ports[0]["heldBy"][0]["pid"], getpid());
    EXPECT_EQ(ports[0]["heldBy"][0]["program"], OwnProgramName());
}

TEST(PortsCommand, NamesHoldersByLockTableOpenFilesAndLockFiles) {
    FakeSystem system;
    Pty a, b, c;
    system.Link("/dev/ttyUSB0", a.Path());
    system.Link("/dev/ttyUSB1", b.Path());
    system.Link("/dev/ttyUSB2", c.Path());
    system.Write("/proc/locks", "1: POSIX  ADVISORY  WRITE 99 00:00:1 0 EOF\n"
                                "2: FLOCK  ADVISORY  WRITE 4242 " +
                                    a.LockId() +
                                    " 0 EOF\n"
                                    "2: -> FLOCK  ADVISORY  WRITE 4343 " +
                                    a.LockId() + " 0 EOF\n");
    system.Write("/proc/4242/comm", "picocom\n");
    system.Write("/proc/4343/comm", "waiter\n");
    system.Link("/proc/812/fd/9", b.Path());
    system.Write("/proc/812/comm", "ModemManager\n");
    system.Write("/run/lock/LCK..ttyUSB2", "      5151\n");
    system.Write("/proc/5151/comm", "minicom\n");
    system.Write("/var/lock/LCK..ttyUSB1", "7777\n"); // stale: no such process

    const json ports = PortsOf(system);
    ASSERT_EQ(ports.size(), 3u);
    const auto holder = [](const json& port) {
        return port["heldBy"].size() == 1 ? port["heldBy"][0]["program"].get<std::string>() + " " +
                                                std::to_string(port["heldBy"][0]["pid"].get<int>())
                                          : port["heldBy"].dump();
    };
    EXPECT_EQ(holder(ports[0]), "picocom 4242");
    EXPECT_EQ(holder(ports[1]), "ModemManager 812");
    EXPECT_EQ(holder(ports[2]), "minicom 5151");
    for (const auto& port : ports)
        EXPECT_EQ(port["held"], true);
}

TEST(DoctorCommand, AUserOutsideTheSerialGroupIsToldToJoinAndLogInAgain) {
    if (!CanSwitchUser())
        GTEST_SKIP() << "needs root to run the tool as another user";
    FakeSystem system;
    system.Write("/etc/group", "root:x:0:\ntty:x:5:\ndialout:x:20:alice\nnogroup:x:65534:\n");
    auto result = system.Cli("doctor --json", "", kAsNobody);
    EXPECT_EQ(result.status, 4) << result.out;
    json report = Parse(result);
    EXPECT_EQ(report["user"], "nobody");
    EXPECT_EQ(report["ok"], false);
    json group = FindingsOf(report, "group");
    ASSERT_EQ(group.size(), 1u) << result.out;
    EXPECT_NE(group[0]["problem"].get<std::string>().find("not in the group dialout"),
              std::string::npos);
    EXPECT_NE(group[0]["fix"].get<std::string>().find("sudo usermod -aG dialout nobody"),
              std::string::npos);
    EXPECT_NE(group[0]["fix"].get<std::string>().find("new login"), std::string::npos);

    // Added to the group, but this session started before: only a new login helps.
    system.Write("/etc/group", "dialout:x:20:alice,nobody\n");
    group = FindingsOf(Parse(system.Cli("doctor --json", "", kAsNobody)), "group");
    ASSERT_EQ(group.size(), 1u);
    EXPECT_NE(group[0]["problem"].get<std::string>().find("was added to the group dialout"),
              std::string::npos);
    EXPECT_EQ(group[0]["fix"].get<std::string>().find("usermod"), std::string::npos);

    // In the group in this session: nothing to say; nor for root.
    const std::string inDialout = "setpriv --reuid=65534 --regid=65534 --groups=20 ";
    EXPECT_EQ(FindingsOf(Parse(system.Cli("doctor --json", "", inDialout)), "group").size(), 0u);
    EXPECT_EQ(FindingsOf(Parse(system.Cli("doctor --json")), "group").size(), 0u);
}

TEST(DoctorCommand, OnThisMachineAUserOutsideDialoutIsNamedAsTheCause) {
    if (!CanSwitchUser())
        GTEST_SKIP() << "needs root to run the tool as another user";
    auto result = RunTool("env -u TENSIQ_SYSTEM_ROOT -u TENSIQ_PORT_DIR " + kAsNobody + TENSIQ_CLI +
                          " doctor --json");
    json group = FindingsOf(Parse(result), "group");
    ASSERT_EQ(group.size(), 1u) << result.out;
    EXPECT_NE(group[0]["fix"].get<std::string>().find("usermod -aG dialout nobody"),
              std::string::npos)
        << result.out;
}

TEST(DoctorCommand, TheModemManagerIsFoundRunningOrEnabled) {
    FakeSystem system;
    Pty port;
    system.Link("/dev/ttyUSB0", port.Path());
    EXPECT_EQ(FindingsOf(Parse(system.Cli("doctor --json")), "modem-manager").size(), 0u);
    system.Write("/etc/systemd/system/multi-user.target.wants/ModemManager.service", "");
    json found = FindingsOf(Parse(system.Cli("doctor --json")), "modem-manager");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0]["problem"].get<std::string>().find("enabled"), std::string::npos);
    EXPECT_NE(found[0]["fix"].get<std::string>().find("systemctl disable --now ModemManager"),
              std::string::npos);
    fs::remove_all(system.Root() / "etc");
    system.Write("/proc/812/comm", "ModemManager\n");
    found = FindingsOf(Parse(system.Cli("doctor --json")), "modem-manager");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0]["problem"].get<std::string>().find("running"), std::string::npos);
}

TEST(DoctorCommand, TheBrailleServiceIsFoundUntilMasked) {
    FakeSystem system;
    EXPECT_EQ(FindingsOf(Parse(system.Cli("doctor --json")), "braille").size(), 0u);
    system.Write("/usr/lib/udev/rules.d/85-brltty.rules", "# claims adapters\n");
    json found = FindingsOf(Parse(system.Cli("doctor --json")), "braille");
    ASSERT_EQ(found.size(), 1u);
    // No port is there, which this service would explain.
    EXPECT_NE(found[0]["problem"].get<std::string>().find("no serial port"), std::string::npos);
    EXPECT_NE(found[0]["fix"].get<std::string>().find("mask brltty-udev.service"),
              std::string::npos);
    system.Link("/etc/systemd/system/brltty-udev.service", "/dev/null");
    EXPECT_EQ(FindingsOf(Parse(system.Cli("doctor --json")), "braille").size(), 0u);
    system.Write("/proc/3000/comm", "brltty\n");
    EXPECT_EQ(FindingsOf(Parse(system.Cli("doctor --json")), "braille").size(), 1u);
}

TEST(DoctorCommand, NoPortAtAllAndHeldPortsAreFindings) {
    FakeSystem system;
    auto result = system.Cli("doctor --json");
    EXPECT_EQ(result.status, 4);
    EXPECT_EQ(FindingsOf(Parse(result), "no-port").size(), 1u) << result.out;

    Pty port;
    system.Link("/dev/ttyUSB0", port.Path());
    result = system.Cli("doctor --json");
    EXPECT_EQ(result.status, 0) << result.out;
    EXPECT_EQ(Parse(result)["ok"], true);

    port.Flock();
    system.Write("/proc/locks", "1: FLOCK  ADVISORY  WRITE 4242 " + port.LockId() + " 0 EOF\n");
    system.Write("/proc/4242/comm", "picocom\n");
    result = system.Cli("doctor --json");
    EXPECT_EQ(result.status, 4);
    json held = FindingsOf(Parse(result), "held");
    ASSERT_EQ(held.size(), 1u) << result.out;
    EXPECT_NE(held[0]["problem"].get<std::string>().find("COM1"), std::string::npos);
    EXPECT_NE(held[0]["problem"].get<std::string>().find("picocom (pid 4242)"), std::string::npos);

    result = system.Cli("doctor");
    EXPECT_NE(result.out.find("Problem: "), std::string::npos);
    EXPECT_NE(result.out.find("Fix: "), std::string::npos);
}

TEST(PortsCommand, APortThatTensiqHasOpenIsHeldByIt) {
    Pty line;
    const fs::path portDir =
        fs::temp_directory_path() / ("tensiq-held-" + std::to_string(getpid()));
    fs::create_directories(portDir);
    fs::permissions(portDir, fs::perms::owner_all | fs::perms::others_read |
                                 fs::perms::others_exec | fs::perms::group_read |
                                 fs::perms::group_exec);
    fs::create_symlink(line.Path(), portDir / "COM5");
    tensiq::SerialPort port;
    ASSERT_TRUE(port.OpenDevice((portDir / "COM5").string(), 230400));
    const std::string command =
        "env -u TENSIQ_SYSTEM_ROOT TENSIQ_PORT_DIR='" + portDir.string() + "' ";
    json ports = Parse(RunTool(command + TENSIQ_CLI + " ports --json"))["ports"];
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0]["held"], true);
    ASSERT_FALSE(ports[0]["heldBy"].empty());
    EXPECT_EQ(ports[0]["heldBy"][0]["pid"], getpid());
    if (CanSwitchUser()) {
        ports = Parse(RunTool(command + kAsNobody + TENSIQ_CLI + " ports --json"))["ports"];
        ASSERT_EQ(ports.size(), 1u);
        EXPECT_EQ(ports[0]["held"], true);
    }
    port.Close();
    ports = Parse(RunTool(command + TENSIQ_CLI + " ports --json"))["ports"];
    fs::remove_all(portDir);
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0]["held"], false);
}

TEST(DoctorCommand, APortFolderThisUserCannotReadIsNamed) {
    if (!CanSwitchUser())
        GTEST_SKIP() << "needs root to run the tool as another user";
    FakeSystem system;
    const fs::path portDir = system.Root() / "ports";
    fs::create_directories(portDir);
    const std::string env = "TENSIQ_PORT_DIR='" + portDir.string() + "'";
    json found = FindingsOf(Parse(system.Cli("doctor --json", env)), "no-port");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0]["problem"].get<std::string>().find("No COM<n> link"), std::string::npos);
    fs::permissions(portDir, fs::perms::owner_all);
    found = FindingsOf(Parse(system.Cli("doctor --json", env, kAsNobody)), "no-port");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0]["problem"].get<std::string>().find("cannot be read"), std::string::npos);
}

// Names from sysfs, /proc and the port folder may hold any byte: the JSON stays JSON with
// U+FFFD for what is not UTF-8, and the text shows control characters instead of obeying them.
TEST(PortsCommand, NamesThatAreNotUtf8OrCarryControlCharactersArePrintedSafely) {
    FakeSystem system;
    Pty usb, linked;
    system.Link("/dev/ttyUSB0", usb.Path());
    system.Link("/dev/serial/by-id/usb-Maker\xff\xfe-if00-port0", "../../ttyUSB0");
    const std::string usbDevice = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2";
    system.Write(usbDevice + "/idVendor", "0403\n");
    system.Write(usbDevice + "/idProduct", "6001\n");
    system.Write(usbDevice + "/manufacturer", "Evil\x1b[2J\x07"
                                              "Corp\n");
    system.Write(usbDevice + "/product", "Half \xc3\n");
    system.Write(usbDevice + "/serial", "A5\x9b"
                                        "0m\n");
    system.Write(usbDevice + "/1-2:1.0/ttyUSB0/dev", "188:0\n");
    system.Link("/sys/class/tty/ttyUSB0/device",
                "../../../devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0");
    system.Write("/proc/locks", "1: FLOCK  ADVISORY  WRITE 4242 " + usb.LockId() + " 0 EOF\n");
    system.Write("/proc/4242/comm", "pico\x1b]0;owned\x07\xff\n");

    const json ports = PortsOf(system);
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0]["byId"], "usb-Maker\xef\xbf\xbd\xef\xbf\xbd-if00-port0");
    EXPECT_EQ(ports[0]["maker"], "Evil\x1b[2J\x07"
                                 "Corp")
        << "valid UTF-8 is kept as it is";
    EXPECT_EQ(ports[0]["model"], "Half \xef\xbf\xbd");
    EXPECT_EQ(ports[0]["heldBy"][0]["program"], "pico\x1b]0;owned\x07\xef\xbf\xbd");

    const auto doctor = system.Cli("doctor --json");
    EXPECT_TRUE(doctor.status == 0 || doctor.status == 4) << doctor.status << doctor.out;
    EXPECT_EQ(Parse(doctor)["ports"].size(), 1u);

    // The port folder's own name, as the simulator's port folder may be called anything.
    const fs::path portDir = system.Root() / "ports\xff";
    fs::create_directories(portDir);
    fs::create_symlink(linked.Path(), portDir / "COM4");
    const json folderPorts = PortsOf(system, "TENSIQ_PORT_DIR='" + portDir.string() + "'");
    ASSERT_EQ(folderPorts.size(), 1u);
    EXPECT_EQ(folderPorts[0]["path"], (system.Root() / "ports\xef\xbf\xbd/COM4").string());

    for (const char* command : {"ports", "doctor"}) {
        SCOPED_TRACE(command);
        const auto text = system.Cli(command);
        EXPECT_EQ(text.out.find('\x1b'), std::string::npos) << text.out;
        EXPECT_EQ(text.out.find('\x07'), std::string::npos) << text.out;
    }
    const auto text = system.Cli("ports");
    EXPECT_NE(text.out.find("Evil\\x1b[2J\\x07Corp"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("pico\\x1b]0;owned\\x07"), std::string::npos) << text.out;
}

TEST(DoctorCommand, APortFolderThisUserCannotReadIsNotBlamedOnTheGroup) {
    if (!CanSwitchUser())
        GTEST_SKIP() << "needs root to run the tool as another user";
    FakeSystem system;
    system.Write("/etc/group", "root:x:0:\ndialout:x:20:\nnogroup:x:65534:\n");
    const fs::path portDir = system.Root() / "ports";
    fs::create_directories(portDir);
    fs::permissions(portDir, fs::perms::owner_all);
    const json report =
        Parse(system.Cli("doctor --json", "TENSIQ_PORT_DIR='" + portDir.string() + "'", kAsNobody));
    EXPECT_EQ(FindingsOf(report, "no-port").size(), 1u) << report.dump(2);
    EXPECT_EQ(FindingsOf(report, "group").size(), 0u) << report.dump(2);
}
