#include "CliPort.h"

#include "PortName.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace tensiq::cli {

bool PortChoice::IsNumber() const {
    return !given.empty() && given.size() <= 3 &&
           std::all_of(given.begin(), given.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string PortChoice::DevicePath() const {
    if (given.empty())
        return {};
    return IsNumber() ? PortDeviceName(std::stoi(given)) : given;
}

bool OpenLink(DeviceLink& link, const PortChoice& choice, std::ostream& err) {
    std::string path = choice.DevicePath();
    if (choice.given.empty()) {
        const int port = link.DiscoverPort(-1);
        if (port == -1) {
            err << kNoDeviceAnywhere;
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
    return true;
}

} // namespace tensiq::cli
