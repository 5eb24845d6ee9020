#pragma once
#include <cstdint>
#include <optional>

namespace tensiq {

// Bar backgrounds as COLORREF values (0x00BBGGRR).
inline constexpr std::uint32_t kMarkedBackground = 0x00C0C0C0;   // light grey
inline constexpr std::uint32_t kUnmarkedBackground = 0x00FFFFFF; // white

// The background a rope's bar takes for the rope's mark in the newest frame, given the colour
// the bar has now; nothing when the bar keeps its colour (and needs no repaint). Only a grey
// bar turns white again: the assistant's yellow stays until a mark greys it.
std::optional<std::uint32_t> MarkedBackground(bool marked, std::uint32_t background);

} // namespace tensiq
