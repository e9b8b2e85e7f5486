// SPDX-License-Identifier: MIT
// Where the window opens: which of the toolkit's window-system platforms to try in the user's
// session, the input method to use there, and what to say when there is no display at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// The variables of the environment that decide where the window opens; absent when unset.
struct SessionEnvironment {
    std::optional<std::string> qtPlatform{};      // QT_QPA_PLATFORM
    std::optional<std::string> x11Display{};      // DISPLAY
    std::optional<std::string> waylandDisplay{};  // WAYLAND_DISPLAY
    std::optional<std::string> sessionType{};     // XDG_SESSION_TYPE
    std::optional<std::string> inputMethod{};     // QT_IM_MODULE
    std::optional<std::string> runtimeDir{};      // XDG_RUNTIME_DIR, where Wayland's sockets lie
};

// The process's own environment.
SessionEnvironment ReadSessionEnvironment();

struct DisplayChoice {
    // The platforms to try, in order, separated by ';' as the toolkit reads QT_QPA_PLATFORM.
    // Empty when the session names no display at all.
    std::string platforms;
    // True when they are the user's own QT_QPA_PLATFORM, kept as it is.
    bool chosenByUser = false;
    // The input method to ask the toolkit for in place of the session's QT_IM_MODULE; absent
    // to keep the session's.
    std::optional<std::string> inputMethod{};

    bool operator==(const DisplayChoice&) const = default;
};

// The choice for `session` with the toolkit version `toolkitVersion` ("6.4.2"):
// - a non-empty QT_QPA_PLATFORM is the user's choice and is kept;
// - otherwise X11 where DISPLAY names a display (in a Wayland session that is XWayland), then
//   Wayland where WAYLAND_DISPLAY is set or the session type is "wayland"; none of them means
//   there is no display;
// - where Wayland may be used and the toolkit's text-input client dereferences a missing seat
//   (before 6.5.3), an input method that would pick that client (none, "" or "wayland") is
//   replaced by "compose"; an input method the user named otherwise is kept.
DisplayChoice ChooseDisplay(const SessionEnvironment& session, std::string_view toolkitVersion);

// The one line, without its line end, that says the window cannot be opened: "<program>: "
// and why (no display named, the user's platform failed, or none of the displays tried could
// be reached), naming each display tried as the user would look for it ("DISPLAY=:88", "the
// Wayland socket /run/user/1000/wayland-0"), and that tabulon-cli makes the same reports
// without a display. Control characters in the names are shown as '?'.
std::string NoDisplayMessage(std::string_view programName, const SessionEnvironment& session,
                             const DisplayChoice& choice);

}  // namespace ui
