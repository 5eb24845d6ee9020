#pragma once
// The about box's layout (template 100) without its texts, shared by every language.

#include "DialogTemplate.h"

#include <array>

namespace tensiq::res {

inline constexpr int kAboutBoxWidth = 235;
inline constexpr int kAboutBoxHeight = 55;
inline constexpr std::uint32_t kAboutBoxFlags =
    kPopup | kVisible | kCaption | kSystemMenu | kModalFrame;

// The icon control takes the icon's own size; 21 x 20 units is what 32 pixels come to.
// clang-format off
inline constexpr std::array<DialogControl, 4> kAboutBoxLayout{{
    {kNoId, ControlKind::StaticIcon, "", 11, 17, 21, 20, 0, Align::Left, nullptr, 128},
    {kNoId, ControlKind::Static, "", 40, 10, 130, 10, 0, Align::Left, nullptr, 0},
    {kNoId, ControlKind::Static, "", 40, 25, 130, 10, 0, Align::Left, nullptr, 0},
    {1, ControlKind::PushButton, "", 178, 7, 50, 14, kDefault, Align::Left, nullptr, 0},
}};
// clang-format on

} // namespace tensiq::res
