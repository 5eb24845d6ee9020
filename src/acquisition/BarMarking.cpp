#include "BarMarking.h"

namespace tensiq {

std::optional<std::uint32_t> MarkedBackground(bool marked, std::uint32_t background) {
    // Compared without the top byte, which a COLORREF leaves unused.
    const bool grey = (background & 0x00FFFFFFu) == kMarkedBackground;
    if (marked && !grey)
        return kMarkedBackground;
    if (!marked && grey)
        return kUnmarkedBackground;
    return std::nullopt;
}

} // namespace tensiq
