#include "CliPort.h"

#include "PortName.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace tensiq::cli {

namespace {

// "7", "COM7" or "com7": the digits; otherwise empty.
std::string PortDigits(const std::string& given) {
    std::string digits = given;
    if (digits.size() > 3 && std::equal(digits.begin(), digits.begin() + 3, "COM",
                                        [](char a, char b) { return std::toupper(a) == b; }))
        digits.erase(0, 3);
    if (digits.empty() || digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
        return {};
    return digits;
}

} // namespace

bool PortChoice::IsNumber() const {
    return !PortDigits(given).empty();
}

int PortChoice::Number() const {
    const std::string digits = PortDigits(given);
    return digits.empty() ? -1 : std::stoi(digits);
}

std::string PortChoice::DevicePath() const {
    if (given.empty())
        return {};
    return IsNumber() ? PortDeviceName(Number()) : given;
}

std::string NoDeviceAnywhereText(const std::vector<int>& busyPorts) {
    if (!busyPorts.empty()) {
        const std::string path = PortDeviceName(busyPorts.front());
        return "No device answers on the ports that are free. " + path +
               (busyPorts.size() == 1
                    ? " is"
                    : " and " + std::to_string(busyPorts.size() - 1) + " more are") +
               " in use by another program (\"tensiq-cli ports\" names it): close it and try "
               "again.\n";
    }
    int refused = 0;
    std::string example;
    for (int port = 1; port <= 255; ++port) {
        const std::string path = PortDeviceName(port);
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || ::access(path.c_str(), R_OK | W_OK) == 0)
            continue;
        if (errno != EACCES && errno != EPERM)
            continue;
        if (refused++ == 0)
            example = path;
    }
    if (refused == 0)
        return kNoDeviceAnywhere;
    return "No device answers on the ports that could be opened. " + std::to_string(refused) +
           (refused == 1 ? " port (" : " ports (such as ") + example +
           ") could not be opened: permission denied: add the user to the dialout group.\n";
}

bool OpenLink(DeviceLink& link, const PortChoice& choice, std::ostream& err) {
    std::string path = choice.DevicePath();
    if (choice.given.empty()) {
        const int port = link.DiscoverPort(-1);
        if (port == -1) {
            err << NoDeviceAnywhereText(link.BusyPorts());
            return false;
        }
        path = PortDeviceName(port);
    } else if (path.empty()) {
        err << "Port " << choice.given << " is not a port number from 1 to 255.\n";
        return false;
    }
    if (!link.OpenDevice(path)) {
        err << "Cannot open " << path << ": " << link.Port().LastOpenErrorText() << ".\n";
        return false;
    }
    // A port named by the user is trusted only once the device has identified itself there:
    // a command to whatever else answers could save noise or send a block to a stranger.
    std::string reply;
    if (!choice.given.empty() && !DeviceLink::Probe(link.Port(), reply)) {
        link.Close();
        err << "No device answers at " << path << ".\n";
        return false;
    }
    return true;
}

} // namespace tensiq::cli
