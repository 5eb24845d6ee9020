#pragma once
#include "LiveFrame.h"

#include <array>
#include <string_view>

namespace tensiq {

// The longest line: twelve "-2147483648;" and the newline.
inline constexpr std::size_t kRecordLineMax = kRopes * 12 + 1;
using RecordLineBuffer = std::array<char, kRecordLineMax>;

// A frame's record line, as twelve printf("%d;") and a newline would write it, but in one
// buffer: the record hands it to the file in one call. The view points into buffer.
std::string_view FormatRecordLine(const std::array<int, kRopes>& loads, RecordLineBuffer& buffer);

} // namespace tensiq
