#include "VersionReply.h"

#include <cctype>
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
    // from_chars takes a minus of its own; "L--2" is no number.
    if (p != end && (*p == '+' || *p == '-'))
        return false;
    float value = 0.0f;
    // %f reads hexadecimal too ("0x1.8p0"); from_chars wants it without its prefix.
    auto format = std::chars_format::general;
    if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
        (std::isxdigit(static_cast<unsigned char>(p[2])) ||
         (p[2] == '.' && end - p > 3 && std::isxdigit(static_cast<unsigned char>(p[3]))))) {
        format = std::chars_format::hex;
        p += 2;
    }
    const auto [last, error] = std::from_chars(p, end, value, format);
    if (error != std::errc() || last == p)
        return false;
    version = negative ? -value : value;
    return true;
}

} // namespace tensiq
