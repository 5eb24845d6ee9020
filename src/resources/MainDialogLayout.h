#pragma once
// The main window's layout (template 102) without its texts, shared by every language.

#include "DialogTemplate.h"

#include <array>

namespace tensiq::res {

inline constexpr const char* kProgressClass = "msctls_progress32";
inline constexpr const char* kLineChartClass = "LINE_CHART_CTRL";

inline constexpr int kMainDialogWidth = 531;
inline constexpr int kMainDialogHeight = 355;
inline constexpr std::uint32_t kMainDialogFlags =
    kPopup | kVisible | kCaption | kSystemMenu | kModalFrame | kCentre | kAppWindow;

// Two places are wider than first drawn, the only ones whose texts overran their rectangles in
// the dialog font whatever indicator the radios get: the unit labels of the left column and
// beside the tare, 19 units for "tn.sh." instead of 17; the four sensor radios, 42 units each
// side by side up to the DC output's frame, for "Sensor B" in 35 units.
// clang-format off
inline constexpr std::array<DialogControl, 84> kMainDialogLayout{{
    {1002, ControlKind::IconButton, "", 7, 9, 100, 30, kMultiLine, Align::Left, nullptr, 0},
    {1001, ControlKind::IconButton, "", 7, 40, 100, 30, kMultiLine, Align::Left, nullptr, 0},
    {1005, ControlKind::Edit, "", 177, 9, 34, 12, kBorder | kAutoHScroll, Align::Left, nullptr, 0},
    {1008, ControlKind::Edit, "", 177, 25, 34, 12, kBorder | kAutoHScroll, Align::Left, nullptr, 0},
    {1010, ControlKind::Edit, "", 177, 41, 34, 12, kBorder | kAutoHScroll, Align::Left, nullptr, 0},
    {1012, ControlKind::Edit, "", 177, 57, 34, 12, kBorder | kAutoHScroll, Align::Left, nullptr, 0},
    {1019, ControlKind::AutoRadio, "", 236, 12, 34, 11, kGroup, Align::Left, nullptr, 0},
    {1020, ControlKind::AutoRadio, "", 278, 12, 46, 11, 0, Align::Left, nullptr, 0},
    {1021, ControlKind::AutoRadio, "", 236, 28, 34, 11, kGroup, Align::Left, nullptr, 0},
    {1022, ControlKind::AutoRadio, "", 278, 28, 46, 11, 0, Align::Left, nullptr, 0},
    {1023, ControlKind::AutoRadio, "", 236, 44, 34, 11, kGroup, Align::Left, nullptr, 0},
    {1024, ControlKind::AutoRadio, "", 278, 44, 46, 11, 0, Align::Left, nullptr, 0},
    {1025, ControlKind::AutoRadio, "", 236, 60, 34, 11, kGroup, Align::Left, nullptr, 0},
    {1026, ControlKind::AutoRadio, "", 278, 60, 46, 11, 0, Align::Left, nullptr, 0},
    {1003, ControlKind::Edit, "", 417, 9, 34, 12, kBorder | kAutoHScroll, Align::Left, nullptr, 0},
    {1014, ControlKind::Edit, "", 417, 25, 34, 12, kBorder | kAutoHScroll, Align::Left, nullptr, 0},
    {1016, ControlKind::Edit, "", 377, 81, 34, 12, kBorder | kAutoHScroll, Align::Left, nullptr, 0},
    {1018, ControlKind::Edit, "", 417, 40, 34, 12, kBorder | kAutoHScroll, Align::Left, nullptr, 0},
    {1043, ControlKind::Edit, "", 417, 56, 34, 12, kBorder | kAutoHScroll, Align::Left, nullptr, 0},
    {1040, ControlKind::IconButton, "", 7, 318, 57, 31, kDefault, Align::Left, nullptr, 0},
    {1041, ControlKind::IconButton, "", 75, 318, 145, 31, 0, Align::Left, nullptr, 0},
    {1044, ControlKind::IconButton, "", 228, 318, 61, 31, kMultiLine | kDisabled, Align::Left, nullptr, 0},
    {1, ControlKind::IconButton, "", 430, 318, 94, 31, 0, Align::Left, nullptr, 0},
    {1004, ControlKind::Static, "", 367, 12, 48, 12, 0, Align::Left, nullptr, 0},
    {1058, ControlKind::Static, "", 453, 12, 19, 12, 0, Align::Left, nullptr, 0},
    {1006, ControlKind::Static, "", 115, 9, 60, 17, 0, Align::Left, nullptr, 0},
    {1054, ControlKind::Static, "", 213, 12, 19, 12, 0, Align::Left, nullptr, 0},
    {1007, ControlKind::Static, "", 115, 28, 53, 12, 0, Align::Left, nullptr, 0},
    {1055, ControlKind::Static, "", 213, 28, 19, 12, 0, Align::Left, nullptr, 0},
    {1009, ControlKind::Static, "", 115, 44, 53, 12, 0, Align::Left, nullptr, 0},
    {1056, ControlKind::Static, "", 213, 44, 19, 12, 0, Align::Left, nullptr, 0},
    {1011, ControlKind::Static, "", 115, 60, 58, 19, 0, Align::Left, nullptr, 0},
    {1057, ControlKind::Static, "", 213, 60, 19, 12, 0, Align::Left, nullptr, 0},
    {1013, ControlKind::Static, "", 334, 28, 81, 12, 0, Align::Right, nullptr, 0},
    {1050, ControlKind::Static, "", 453, 28, 19, 12, 0, Align::Left, nullptr, 0},
    {1015, ControlKind::Static, "", 350, 84, 25, 12, 0, Align::Right, nullptr, 0},
    {1059, ControlKind::Static, "", 413, 84, 21, 9, 0, Align::Left, nullptr, 0},
    {1017, ControlKind::Static, "", 334, 43, 79, 12, 0, Align::Right, nullptr, 0},
    {1027, ControlKind::ProgressBar, "", 10, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1028, ControlKind::ProgressBar, "", 51, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1029, ControlKind::ProgressBar, "", 92, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1030, ControlKind::ProgressBar, "", 133, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1031, ControlKind::ProgressBar, "", 174, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1032, ControlKind::ProgressBar, "", 215, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1033, ControlKind::ProgressBar, "", 256, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1034, ControlKind::ProgressBar, "", 297, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1035, ControlKind::ProgressBar, "", 338, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1036, ControlKind::ProgressBar, "", 379, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1037, ControlKind::ProgressBar, "", 420, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1038, ControlKind::ProgressBar, "", 461, 124, 32, 172, kVertical | kSmooth | kBorder, Align::Left, kProgressClass, 0},
    {1039, ControlKind::Static, "", 38, 103, 132, 17, 0, Align::Left, nullptr, 0},
    {kNoId, ControlKind::Static, "", 10, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 51, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 92, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 133, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 174, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 215, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 256, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 297, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 338, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 379, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 420, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {kNoId, ControlKind::Static, "", 461, 298, 31, 9, 0, Align::Centre, nullptr, 0},
    {1042, ControlKind::Static, "", 333, 59, 79, 9, 0, Align::Right, nullptr, 0},
    {1045, ControlKind::Custom, "", 7, 124, 489, 184, kHidden, Align::Left, kLineChartClass, 0},
    {1046, ControlKind::IconButton, "", 7, 105, 27, 17, 0, Align::Left, nullptr, 0},
    {1047, ControlKind::IconButton, "", 504, 292, 20, 17, 0, Align::Left, nullptr, 0},
    {1048, ControlKind::PushButton, "", 213, 100, 54, 21, kHidden, Align::Left, nullptr, 0},
    {1049, ControlKind::PushButton, "", 274, 100, 54, 21, kHidden, Align::Left, nullptr, 0},
    {kNoId, ControlKind::GroupBox, "", 487, 7, 37, 50, 0, Align::Left, nullptr, 0},
    {1051, ControlKind::AutoRadio, "", 491, 18, 24, 10, kGroup, Align::Left, nullptr, 0},
    {1052, ControlKind::AutoRadio, "", 491, 27, 30, 10, 0, Align::Left, nullptr, 0},
    {1053, ControlKind::AutoRadio, "", 491, 36, 29, 10, 0, Align::Left, nullptr, 0},
    {1060, ControlKind::AutoRadio, "", 491, 45, 29, 10, 0, Align::Left, nullptr, 0},
    {1061, ControlKind::AutoCheckBox, "", 355, 96, 46, 10, 0, Align::Left, nullptr, 0},
    {kNoId, ControlKind::GroupBox, "", 349, 71, 147, 50, 0, Align::Left, nullptr, 0},
    {1062, ControlKind::AutoCheckBox, "", 355, 107, 96, 10, 0, Align::Left, nullptr, 0},
    {kNoId, ControlKind::Static, "", 115, 79, 56, 10, kGroup, Align::Left, nullptr, 0},
    {1063, ControlKind::AutoRadio, "", 177, 79, 42, 9, kGroup, Align::Left, nullptr, 0},
    {1064, ControlKind::AutoRadio, "", 220, 79, 42, 9, 0, Align::Left, nullptr, 0},
    {1065, ControlKind::AutoRadio, "", 263, 79, 42, 9, 0, Align::Left, nullptr, 0},
    {1066, ControlKind::AutoRadio, "", 306, 79, 42, 9, 0, Align::Left, nullptr, 0},
    {1067, ControlKind::Edit, "", 403, 95, 26, 12, kBorder | kAutoHScroll, Align::Left, nullptr, 0},
    {1068, ControlKind::Static, "", 432, 96, 50, 9, kGroup, Align::Left, nullptr, 0},
}};
// clang-format on

} // namespace tensiq::res
