#include "DisplayCheck.h"

#include <cstdlib>
#include <string_view>

namespace tensiq {

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

std::string MissingDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string_view chosen = platform != nullptr ? platform : "";
    const bool any = chosen.empty();
    const bool x11 = any || chosen.find("xcb") != std::string_view::npos;
    const bool wayland = any || chosen.find("wayland") != std::string_view::npos;
    if (!x11 && !wayland)
        return {}; // offscreen, vnc, eglfs and the like
    if ((x11 && Set("DISPLAY")) || (wayland && (Set("WAYLAND_DISPLAY") || Set("WAYLAND_SOCKET"))))
        return {};
    if (x11 && wayland)
        return "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
    return x11 ? "no display: DISPLAY is not set" : "no display: WAYLAND_DISPLAY is not set";
}

} // namespace tensiq
