// Any reply to V, taken as the probe and the version query take it: never a crash, and a reply
// that names a version gives the number that its text spells.
#include "DeviceLink.h"
#include "FirmwareVersion.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

using namespace tensiq;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    char text[7] = {};
    std::memcpy(text, data, std::min<std::size_t>(size, 6));
    const std::string reply(text); // ends at a zero byte, as the probe reads it
    DeviceLink::IsKnownIdentification(reply);
    DeviceLink::ApplyReplyLetters(reply);
    const float version = ParseFirmwareVersion(reply);
    if (reply.empty() || reply[0] != 'L') {
        if (version != 0.0f)
            std::abort();
        return 0;
    }
    // A plain "L d.dd" reply reads as that number exactly as strtof reads it.
    if (reply.size() == 6 && reply[1] == ' ' &&
        std::isdigit(static_cast<unsigned char>(reply[2])) && reply[3] == '.' &&
        std::isdigit(static_cast<unsigned char>(reply[4])) &&
        std::isdigit(static_cast<unsigned char>(reply[5])) &&
        version != std::strtof(reply.c_str() + 2, nullptr))
        std::abort();
    return 0;
}
