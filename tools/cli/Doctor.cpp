#include "Doctor.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace tensiq::cli {

namespace {

struct Group {
    std::string name;
    unsigned gid = 0;
    std::vector<std::string> members;
};

// The group database as a file: name:password:gid:member,member
std::vector<Group> ReadGroups(const SystemRoot& system) {
    std::vector<Group> groups;
    std::ifstream in(system.Under("/etc/group"));
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        std::string field;
        while (std::getline(split, field, ':'))
            fields.push_back(field);
        if (fields.size() < 3 || fields[2].empty())
            continue;
        Group group{
            fields[0], static_cast<unsigned>(std::strtoul(fields[2].c_str(), nullptr, 10)), {}};
        if (fields.size() > 3) {
            std::istringstream names(fields[3]);
            while (std::getline(names, field, ','))
                group.members.push_back(field);
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

// The group of the serial devices: the owner of the real ports this user cannot open, else the
// usual names (dialout on Debian and its kin, uucp elsewhere). A device left to root's group
// (as in a container) names no group a user should join.
std::optional<Group> SerialGroup(const std::vector<Group>& groups,
                                 const std::vector<PortInfo>& ports) {
    auto byId = [&](unsigned gid) -> std::optional<Group> {
        for (const Group& g : groups)
            if (g.gid == gid)
                return g;
        return std::nullopt;
    };
    for (const PortInfo& port : ports)
        if (!port.pseudoTerminal && !port.mayOpen && port.groupId != 0)
            if (auto group = byId(port.groupId); group && group->name != "tty")
                return group;
    for (const char* name : {"dialout", "uucp"})
        for (const Group& g : groups)
            if (g.name == name)
                return g;
    return std::nullopt;
}

// The simulator's port folder, when TENSIQ_PORT_DIR names one that this user cannot read.
const char* UnreadablePortFolder() {
    const char* dir = std::getenv("TENSIQ_PORT_DIR");
    return dir != nullptr && *dir != '\0' && ::access(dir, R_OK | X_OK) != 0 ? dir : nullptr;
}

void CheckGroup(const SystemRoot& system, const std::vector<PortInfo>& ports,
                const UserIdentity& user, DoctorReport& report) {
    report.checked.push_back("group");
    // No port is seen through a folder that cannot be read: no group is to blame for that.
    if (user.uid == 0 || (ports.empty() && UnreadablePortFolder() != nullptr))
        return;
    const auto groups = ReadGroups(system);
    const auto serial = SerialGroup(groups, ports);
    if (!serial)
        return;
    const auto& active = user.activeGroups;
    if (std::find(active.begin(), active.end(), serial->gid) != active.end())
        return;
    const bool allOpen = !ports.empty() && std::all_of(ports.begin(), ports.end(),
                                                       [](const PortInfo& p) { return p.mayOpen; });
    if (allOpen)
        return;
    const bool configured = user.gid == serial->gid ||
                            std::find(serial->members.begin(), serial->members.end(), user.name) !=
                                serial->members.end();
    if (configured) {
        report.findings.push_back(
            {"group",
             "User " + user.name + " was added to the group " + serial->name +
                 " that owns the serial ports, but this login session started before that, so "
                 "the ports still refuse to open.",
             "Log out and log in again (or restart the computer): a new group membership takes "
             "effect only with a new login. For one terminal, \"newgrp " +
                 serial->name + "\" works at once."});
        return;
    }
    report.findings.push_back(
        {"group",
         "User " + user.name + " is not in the group " + serial->name +
             " that owns the serial ports, so the ports cannot be opened.",
         "sudo usermod -aG " + serial->name + " " + user.name +
             ", then log out and log in again: a new group membership takes effect only with a "
             "new login."});
}

bool Masked(const SystemRoot& system, const std::string& unit) {
    std::error_code error;
    const auto target =
        std::filesystem::read_symlink(system.Under("/etc/systemd/system/" + unit), error);
    return !error && target == "/dev/null";
}

bool Enabled(const SystemRoot& system, const std::string& unit) {
    for (const std::string& folder : system.List("/etc/systemd/system"))
        if (folder.ends_with(".wants") &&
            system.Exists("/etc/systemd/system/" + folder + "/" + unit))
            return true;
    return false;
}

void CheckModemManager(const SystemRoot& system, DoctorReport& report) {
    report.checked.push_back("modem-manager");
    const bool running = system.IsRunning("ModemManager");
    if (!running && !Enabled(system, "ModemManager.service"))
        return;
    report.findings.push_back(
        {"modem-manager",
         std::string("The modem manager service is ") + (running ? "running" : "enabled") +
             ". It opens every new serial adapter to look for a modem and sends it AT "
             "commands, which disturbs the device and can keep the port busy for seconds.",
         "Unless a mobile broadband modem is needed: sudo systemctl disable --now "
         "ModemManager. Otherwise let it ignore the adapter with a udev rule, e.g. "
         "ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", ENV{ID_MM_DEVICE_IGNORE}=\"1\" "
         "in /etc/udev/rules.d/99-tensiq.rules (the ids are listed by \"tensiq-cli ports\")."});
}

void CheckBraille(const SystemRoot& system, const std::vector<PortInfo>& ports,
                  DoctorReport& report) {
    report.checked.push_back("braille");
    const bool running = system.IsRunning("brltty");
    const bool rules = system.Exists("/usr/lib/udev/rules.d/85-brltty.rules") ||
                       system.Exists("/lib/udev/rules.d/85-brltty.rules");
    const bool armed = rules && !Masked(system, "brltty-udev.service");
    if (!running && !armed)
        return;
    std::string problem = std::string("The braille display service brltty is ") +
                          (running ? "running" : "installed") +
                          ". It claims common USB serial adapters (CH340, CP210x, FTDI) as "
                          "braille displays, so their port vanishes right after it appears.";
    if (ports.empty())
        problem += " That would explain why no serial port is there.";
    report.findings.push_back(
        {"braille", problem,
         "Unless a braille display is used: sudo apt remove brltty. Otherwise: sudo systemctl "
         "mask brltty-udev.service && sudo systemctl stop brltty.service. Then unplug the "
         "adapter and plug it in again."});
}

std::string PortName(const PortInfo& port) {
    return "COM" + std::to_string(port.number) + " (" + port.path + ")";
}

void CheckPorts(const std::vector<PortInfo>& ports, DoctorReport& report) {
    report.checked.push_back("no-port");
    if (ports.empty()) {
        const char* dir = std::getenv("TENSIQ_PORT_DIR");
        if (const char* unreadable = UnreadablePortFolder())
            report.findings.push_back(
                {"no-port",
                 std::string("The port folder ") + unreadable +
                     " (TENSIQ_PORT_DIR) cannot be read by this user.",
                 "Run as the user who made the folder, or let others read it (chmod o+rx)."});
        else if (dir != nullptr && *dir != '\0')
            report.findings.push_back(
                {"no-port",
                 std::string("No COM<n> link to a serial port in ") + dir + " (TENSIQ_PORT_DIR).",
                 std::string("Unset TENSIQ_PORT_DIR to use the real ports, or start the simulator "
                             "there (tensiq-sim --dir ") +
                     dir + ")."});
        else
            report.findings.push_back(
                {"no-port",
                 "No serial port at all: no /dev/ttyUSB*, /dev/ttyACM* or working /dev/ttyS*.",
                 "Plug in the USB serial adapter (or another cable or USB port). \"sudo dmesg "
                 "| tail\" should then show it attached to ttyUSB or ttyACM; if it is attached "
                 "and gone again at once, see the braille display service."});
    }
    report.checked.push_back("held");
    for (const PortInfo& port : ports) {
        if (port.held != true)
            continue;
        std::string by;
        for (const PortHolder& h : port.holders)
            by += (by.empty() ? "" : ", ") + (h.program.empty() ? "a program" : h.program) +
                  " (pid " + std::to_string(h.pid) + ")";
        report.findings.push_back(
            {"held",
             PortName(port) + " is held by " + (by.empty() ? "another program" : by) +
                 ", so Tensiq cannot use it.",
             by.empty() ? "Close the program that uses the port (a terminal program, another "
                          "Tensiq); \"sudo fuser -v " +
                              port.path + "\" names it."
                        : "Close " + by + " or stop its service, then try again."});
    }
}

} // namespace

UserIdentity UserIdentity::Current() {
    UserIdentity user;
    user.uid = ::geteuid();
    user.gid = ::getegid();
    if (const passwd* pw = ::getpwuid(user.uid)) {
        user.name = pw->pw_name;
        user.gid = pw->pw_gid;
    } else {
        user.name = std::to_string(user.uid);
    }
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count > 0 && ::getgroups(count, groups.data()) == count)
        user.activeGroups.assign(groups.begin(), groups.end());
    user.activeGroups.push_back(::getegid());
    return user;
}

DoctorReport RunDoctor(const SystemRoot& system, const std::vector<PortInfo>& ports,
                       const UserIdentity& user) {
    DoctorReport report;
    CheckGroup(system, ports, user, report);
    CheckModemManager(system, report);
    CheckBraille(system, ports, report);
    CheckPorts(ports, report);
    return report;
}

} // namespace tensiq::cli
