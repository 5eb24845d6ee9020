#include "FirmwareVersion.h"

#include <clocale>
#include <cstdio>
#include <locale.h>

namespace tensiq {

float ParseFirmwareVersion(const std::string& reply) {
    // A Qt program runs with the user's numeric locale; the device always writes '.'.
    static const locale_t c = ::newlocale(LC_NUMERIC_MASK, "C", nullptr);
    const locale_t previous = c != nullptr ? ::uselocale(c) : nullptr;
    float version = 0.0f;
    const int converted = std::sscanf(reply.c_str(), "L %f", &version);
    if (previous != nullptr)
        ::uselocale(previous);
    return converted == 1 ? version : 0.0f;
}

} // namespace tensiq
