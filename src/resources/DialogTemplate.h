#pragma once
// A dialog template as data: the dialog's frame and its controls in template order (which is
// also the tab order), positions and sizes in dialog units.

#include "ResourceModule.h"

#include <cstddef>
#include <cstdint>

namespace tensiq::res {

enum class ControlKind : std::uint8_t {
    PushButton,
    IconButton, // a push button that the window binds to CIconButton
    AutoRadio,
    AutoCheckBox,
    GroupBox,
    Edit,
    Static,
    StaticIcon,  // shows the icon resource named by iconId
    ProgressBar, // class "msctls_progress32"
    Custom,      // window class given by className
};

enum class Align : std::uint8_t { Left, Centre, Right };

// Style bits of a control; the names follow the window styles they stand for.
enum ControlFlag : std::uint32_t {
    kGroup = 1u << 0,       // WS_GROUP
    kDefault = 1u << 1,     // BS_DEFPUSHBUTTON
    kHidden = 1u << 2,      // no WS_VISIBLE
    kDisabled = 1u << 3,    // WS_DISABLED
    kMultiLine = 1u << 4,   // BS_MULTILINE
    kBorder = 1u << 5,      // WS_BORDER
    kAutoHScroll = 1u << 6, // ES_AUTOHSCROLL
    kVertical = 1u << 7,    // PBS_VERTICAL
    kSmooth = 1u << 8,      // PBS_SMOOTH
};

// Style bits of the dialog frame.
enum DialogFlag : std::uint32_t {
    kPopup = 1u << 0,
    kVisible = 1u << 1,
    kCaption = 1u << 2,
    kSystemMenu = 1u << 3,
    kModalFrame = 1u << 4,
    kCentre = 1u << 5,    // DS_CENTER
    kAppWindow = 1u << 6, // WS_EX_APPWINDOW
};

// Id of a control that the program never addresses (IDC_STATIC).
inline constexpr int kNoId = -1;

struct DialogControl {
    int id;
    ControlKind kind;
    const char* text; // UTF-8; "" for none
    int x, y, cx, cy;
    std::uint32_t flags;
    Align align;
    const char* className; // Custom and ProgressBar only, else nullptr
    unsigned iconId;       // StaticIcon only, else 0

    bool Has(ControlFlag f) const { return (flags & f) != 0; }
};

struct DialogTemplate {
    unsigned id;
    const char* caption;
    int cx, cy;
    const char* fontFace;
    int pointSize;
    std::uint32_t flags;
    const DialogControl* controls;
    std::size_t controlCount;
};

const DialogTemplate* FindDialog(const ResourceModule* module, unsigned id);
const DialogControl* FindControl(const DialogTemplate& dialog, int id);

} // namespace tensiq::res
