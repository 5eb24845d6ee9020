#pragma once
// Every language shares one control layout and differs only in its texts; this joins a layout
// with one text per control at compile time. A text list of the wrong length does not compile.

#include "AboutBoxLayout.h"
#include "DialogTemplate.h"
#include "MainDialogLayout.h"
#include "ResourceIds.h"

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

// The two templates of a module: the about box and the main window, captioned for a language.
template <std::size_t A, std::size_t M>
constexpr std::array<DialogTemplate, 2> MakeDialogs(const char* aboutCaption,
                                                    const std::array<DialogControl, A>& about,
                                                    const std::array<DialogControl, M>& main) {
    return {{
        {kAboutBoxDialog, aboutCaption, kAboutBoxWidth, kAboutBoxHeight, "MS Sans Serif", 8,
         kAboutBoxFlags, about.data(), about.size()},
        {kMainDialog, "Tensiq V 1.12", kMainDialogWidth, kMainDialogHeight, "MS Sans Serif", 8,
         kMainDialogFlags, main.data(), main.size()},
    }};
}

} // namespace tensiq::res
