#include "FieldFormat.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace tensiq {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Length of the digit run at the start of text.
std::size_t Digits(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n]))
        ++n;
    return n;
}

} // namespace

std::string CutFieldText(std::string_view text) {
    std::size_t at = 0;
    for (std::size_t count = 0; at < text.size() && count < kFieldTextLimit; ++count) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            ++at;
    }
    return std::string(text.substr(0, at));
}

std::string FormatReal(double value, int precision) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    return std::string(buffer, result.ptr);
}

std::string FormatUnsigned(unsigned value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

bool ParseReal(std::string_view text, double& value) {
    text = TrimBlanks(text);
    std::string_view number = text;
    if (!text.empty() && text.front() == '+')
        number.remove_prefix(1);
    std::string_view rest = number;
    if (!rest.empty() && rest.front() == '-' && number.data() == text.data())
        rest.remove_prefix(1);
    const std::size_t whole = Digits(rest);
    rest.remove_prefix(whole);
    std::size_t fraction = 0;
    if (!rest.empty() && rest.front() == '.') {
        rest.remove_prefix(1);
        fraction = Digits(rest);
        rest.remove_prefix(fraction);
    }
    if (whole + fraction == 0)
        return false;
    if (!rest.empty() && (rest.front() == 'e' || rest.front() == 'E')) {
        rest.remove_prefix(1);
        if (!rest.empty() && (rest.front() == '+' || rest.front() == '-'))
            rest.remove_prefix(1);
        const std::size_t exponent = Digits(rest);
        if (exponent == 0)
            return false;
        rest.remove_prefix(exponent);
    }
    if (!rest.empty())
        return false;
    double parsed = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), parsed,
                                        std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size())
        return false;
    value = parsed;
    return true;
}

bool ParseUnsigned(std::string_view text, unsigned& value) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || Digits(text) != text.size())
        return false;
    unsigned parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec == std::errc::result_out_of_range)
        parsed = std::numeric_limits<unsigned>::max();
    else if (result.ec != std::errc())
        return false;
    value = parsed;
    return true;
}

} // namespace tensiq
