#pragma once
// Every language shares one control layout and differs only in its texts; this joins a layout
// with one text per control at compile time. A text list of the wrong length does not compile.

#include "DialogTemplate.h"

#include <array>
#include <cstddef>

namespace tensiq::res {

template <std::size_t N>
constexpr std::array<DialogControl, N> WithTexts(const std::array<DialogControl, N>& layout,
                                                 const char* const (&texts)[N]) {
    std::array<DialogControl, N> out = layout;
    for (std::size_t i = 0; i < N; ++i)
        out[i].text = texts[i];
    return out;
}

} // namespace tensiq::res
