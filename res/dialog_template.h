// SPDX-License-Identifier: MIT
// Dialog layouts as data: what a resource script says about a dialog and its controls.
#pragma once

#include <span>

namespace res {

// Window styles of a dialog, combined as bits.
namespace DialogStyle {
inline constexpr unsigned Caption = 1u << 0;      // a title bar with the caption
inline constexpr unsigned SystemMenu = 1u << 1;   // the window menu and the close box
inline constexpr unsigned ModalFrame = 1u << 2;   // a fixed-size frame
inline constexpr unsigned MinimizeBox = 1u << 3;  // a minimise box
inline constexpr unsigned MaximizeBox = 1u << 4;  // a maximise box
inline constexpr unsigned AppWindow = 1u << 5;    // listed in the task bar even when owned
}  // namespace DialogStyle

enum class ControlKind {
    Edit,           // single-line text field
    PushButton,     // command button
    DefPushButton,  // the dialog's default command button
    GroupBox,       // titled frame around other controls (which are not its children)
    StaticText,     // text the user cannot change
    StaticIcon,     // an icon resource, shown at its own size from the control's corner
    FilledRect,     // a rectangle filled with the window-frame colour
    DropDownList,   // a closed list that opens to choose one of its items; no text of its own
};

// Control styles, combined as bits.
namespace ControlStyle {
inline constexpr unsigned TabStop = 1u << 0;      // Tab stops on the control
inline constexpr unsigned Border = 1u << 1;       // a thin border around the control
inline constexpr unsigned AutoHScroll = 1u << 2;  // an edit scrolls sideways as the user types
inline constexpr unsigned Center = 1u << 3;       // text centred across
inline constexpr unsigned VCenter = 1u << 4;      // text centred down
inline constexpr unsigned SunkenEdge = 1u << 5;   // a sunken edge around the control
inline constexpr unsigned NoPrefix = 1u << 6;     // "&" is shown as it is, marking no access key
inline constexpr unsigned Disabled = 1u << 7;     // greyed, takes no input
}  // namespace ControlStyle

// One control; position and size in dialog units, relative to the dialog's client area.
struct ControlTemplate {
    int id;  // IDC_STATIC for controls nobody addresses
    ControlKind kind;
    const char* text;  // may hold "\n" line breaks; "&" marks an access key unless NoPrefix
    int x;
    int y;
    int width;
    int height;
    unsigned style;   // ControlStyle bits
    int imageId = 0;  // the icon resource of a StaticIcon
};

// One dialog; its size in dialog units is that of its client area. The dialog gives no
// position, so it is centred when it opens.
struct DialogTemplate {
    int id;
    const char* caption;
    int width;
    int height;
    const char* fontName;
    int fontPointSize;
    unsigned style;                             // DialogStyle bits
    std::span<const ControlTemplate> controls;  // in creation and tab order
};

// The template with resource id `id`, or nullptr when there is none.
const DialogTemplate* FindDialogTemplate(int id);

}  // namespace res
