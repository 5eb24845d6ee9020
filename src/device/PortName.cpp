#include "PortName.h"

#include <cstdlib>

namespace tensiq {

std::string PortDeviceName(int port) {
    if (port < 1 || port > 255)
        return {};
    if (const char* dir = std::getenv("TENSIQ_PORT_DIR"); dir != nullptr && *dir != '\0')
        return std::string(dir) + "/COM" + std::to_string(port);
    if (port <= 32)
        return "/dev/ttyUSB" + std::to_string(port - 1);
    if (port <= 64)
        return "/dev/ttyACM" + std::to_string(port - 33);
    return "/dev/ttyS" + std::to_string(port - 65);
}

} // namespace tensiq
