// Any reply to V, taken as the probe and the version query take it: never a crash, and a reply
// reads as "L %f" reads it in the C locale.
#include "DeviceLink.h"
#include "VersionReply.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace tensiq;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    char text[7] = {};
    std::memcpy(text, data, std::min<std::size_t>(size, 6));
    const std::string reply(text); // ends at a zero byte, as the probe reads it
    DeviceLink::IsKnownIdentification(reply);
    DeviceLink::ApplyReplyLetters(reply);
    float version = 0.0f;
    if (!ParseVersionReply(reply, version))
        version = 0.0f;
    if (reply.empty() || reply[0] != 'L') {
        if (version != 0.0f)
            std::abort();
        return 0;
    }
    // The parse is that of "L %f" in the C locale, which the fuzzer's process runs in.
    // A number too large or too small for a float is the parser's choice (0 or the limit).
    float expected = 0.0f;
    errno = 0;
    if (std::sscanf(reply.c_str(), "L %f", &expected) != 1)
        expected = 0.0f;
    if (errno == ERANGE)
        return 0;
    if (!(version == expected || (std::isnan(version) && std::isnan(expected))))
        std::abort();
    return 0;
}
