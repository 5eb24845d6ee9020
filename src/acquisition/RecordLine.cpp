#include "RecordLine.h"

#include <cstdint>
#include <cstring>

namespace tensiq {

namespace {

constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233"
                          "34353637383940414243444546474849505152535455565758596061626364656667"
                          "6869707172737475767778798081828384858687888990919293949596979899";

unsigned DigitCount(std::uint32_t value) {
    for (unsigned n = 1;; n += 4) {
        if (value < 10)
            return n;
        if (value < 100)
            return n + 1;
        if (value < 1000)
            return n + 2;
        if (value < 10000)
            return n + 3;
        value /= 10000;
    }
}

char* PutPair(char* out, unsigned pair) {
    std::memcpy(out, kPairs + 2 * pair, 2);
    return out + 2;
}

// Two digits at a time; loads below 10000, the usual ones, without a loop. A fraction of what
// std::to_chars costs here.
char* PutDecimal(char* out, int number) {
    auto value = static_cast<std::uint32_t>(number);
    if (number < 0) {
        *out++ = '-';
        value = 0u - value;
    }
    if (value < 100) {
        if (value < 10) {
            *out = static_cast<char>('0' + value);
            return out + 1;
        }
        return PutPair(out, value);
    }
    if (value < 10000) {
        const unsigned high = value / 100;
        if (high < 10)
            *out++ = static_cast<char>('0' + high);
        else
            out = PutPair(out, high);
        return PutPair(out, value % 100);
    }
    const unsigned digits = DigitCount(value);
    char* p = out + digits;
    while (value >= 100) {
        const unsigned pair = value % 100;
        value /= 100;
        p -= 2;
        std::memcpy(p, kPairs + 2 * pair, 2);
    }
    if (value >= 10)
        std::memcpy(p - 2, kPairs + 2 * value, 2);
    else
        p[-1] = static_cast<char>('0' + value);
    return out + digits;
}

} // namespace

std::string_view FormatRecordLine(const std::array<int, kRopes>& loads, RecordLineBuffer& buffer) {
    char* out = buffer.data();
    for (const int load : loads) {
        out = PutDecimal(out, load);
        *out++ = ';';
    }
    *out++ = '\n';
    return {buffer.data(), static_cast<std::size_t>(out - buffer.data())};
}

} // namespace tensiq
