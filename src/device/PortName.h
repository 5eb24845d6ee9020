#pragma once
#include <string>

namespace tensiq {

// The tty behind port number n (1..255): $TENSIQ_PORT_DIR/COM<n> when that variable is set,
// else USB adapters first (1-32 ttyUSB, 33-64 ttyACM), then 65-255 ttyS0-190.
// An empty string for a number outside 1..255.
std::string PortDeviceName(int port);

} // namespace tensiq
