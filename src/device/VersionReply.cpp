#include "VersionReply.h"

#include <charconv>
#include <cstring>

namespace tensiq {

bool ParseVersionReply(const std::string& reply, float& version) {
    const char* p = reply.c_str();
    const char* end = p + reply.size();
    if (p == end || *p != 'L')
        return false;
    ++p;
    while (p != end && std::strchr(" \t\n\v\f\r", *p) != nullptr && *p != '\0')
        ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    float value = 0.0f;
    const auto [last, error] = std::from_chars(p, end, value, std::chars_format::general);
    if (error != std::errc() || last == p)
        return false;
    version = negative ? -value : value;
    return true;
}

} // namespace tensiq
