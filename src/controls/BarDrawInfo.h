#pragma once
// What the rope load bar's paint hands to its drawing operations.

#include "DeviceContext.h"
#include "WinTypes.h"

namespace tensiq {

// Pixel distances along the bar from its origin (the bottom of a vertical bar, the left of a
// horizontal one, or the opposite edge when reversed).
struct BarSpan {
    int start = 0;
    int end = 0;
};

struct BarDrawInfo {
    CDC* dc = nullptr;
    DWORD style = 0;
    RECT client; // after the margins are taken off
    int pos = 0;
    int lower = 0;
    int upper = 0;
};

} // namespace tensiq
