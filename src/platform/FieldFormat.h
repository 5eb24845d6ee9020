#pragma once
// How the form's edit fields are printed and read: always with '.' as the decimal point,
// whatever the user's locale.

#include <cstddef>
#include <string>
#include <string_view>

namespace tensiq {

// A field is read through a 32-character buffer: longer text counts with its first 31.
inline constexpr std::size_t kFieldTextLimit = 31;
// Significant digits of a double and of a float field.
inline constexpr int kDoublePrecision = 15;
inline constexpr int kFloatPrecision = 6;

// The first kFieldTextLimit characters (not bytes) of UTF-8 text.
std::string CutFieldText(std::string_view text);

// "%.*g" in the C locale.
std::string FormatReal(double value, int precision);
// "%u".
std::string FormatUnsigned(unsigned value);

// A number: blanks or tabs around an optional sign, digits with at most one '.', at least one
// digit, an optional exponent; finite as a double. Hex, "inf", "nan" and ',' are not numbers.
bool ParseReal(std::string_view text, double& value);
// An unsigned whole number: blanks or tabs around an optional '+' and decimal digits. One
// beyond the range of unsigned is held as its largest value, so a range check refuses it.
bool ParseUnsigned(std::string_view text, unsigned& value);

} // namespace tensiq
