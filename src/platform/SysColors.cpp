#include "SysColors.h"

#include <QGuiApplication>

namespace tensiq {

COLORREF GetSysColor(int index, const QPalette& palette) {
    const auto colour = [&](QPalette::ColorRole role) {
        return ToColorRef(palette.color(QPalette::Active, role));
    };
    switch (index) {
    case COLOR_ACTIVECAPTION:
        return colour(QPalette::Highlight);
    case COLOR_CAPTIONTEXT:
        return colour(QPalette::HighlightedText);
    case COLOR_WINDOWFRAME:
        return RGB(0, 0, 0);
    case COLOR_WINDOWTEXT:
        return colour(QPalette::WindowText);
    case COLOR_BTNFACE:
        return colour(QPalette::Button);
    case COLOR_BTNSHADOW:
        return colour(QPalette::Dark);
    case COLOR_BTNTEXT:
        return colour(QPalette::ButtonText);
    case COLOR_BTNHIGHLIGHT:
        return colour(QPalette::Light);
    default:
        return RGB(0, 0, 0);
    }
}

COLORREF GetSysColor(int index) {
    return GetSysColor(index, QGuiApplication::palette());
}

} // namespace tensiq
