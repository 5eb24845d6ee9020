#pragma once
#include <cstdint>
#include <string>

namespace tensiq {

inline constexpr const char* kDumpBefore = "vorher.txt";
inline constexpr const char* kDumpAfter = "nachher.txt";

// 16 lines of eight "0x%02X " bytes in the per-user data folder; silently skipped when the
// file cannot be written.
void WriteDump(const char* name, const std::uint8_t* bytes);

} // namespace tensiq
