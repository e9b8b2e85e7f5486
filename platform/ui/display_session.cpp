// SPDX-License-Identifier: MIT
#include "platform/ui/display_session.h"

#include <array>
#include <charconv>
#include <cstdlib>

namespace ui {

namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

bool IsSet(const std::optional<std::string>& value) {
    return value && !value->empty();
}

// Whether one of the ';'-separated platforms (each "name" or "name:options") is Wayland's.
bool MayUseWayland(std::string_view platforms) {
    while (!platforms.empty()) {
        const size_t end = platforms.find(';');
        if (platforms.substr(0, end).starts_with("wayland")) {
            return true;
        }
        platforms = end == std::string_view::npos ? std::string_view{} : platforms.substr(end + 1);
    }
    return false;
}

// Up to 6.5.2 the Wayland text-input client asks the compositor's first seat for its text
// input without checking that there is one; a compositor without a seat (a headless or remote
// one) crashes the program as soon as a focused line edit is drawn. A version that cannot be
// read counts as 0.0.0, affected.
bool TextInputClientMayCrash(std::string_view version) {
    std::array<int, 3> parts{};
    for (int& part : parts) {
        const auto [next, error] =
            std::from_chars(version.data(), version.data() + version.size(), part);
        if (error != std::errc{}) {
            break;
        }
        version.remove_prefix(static_cast<size_t>(next - version.data()));
        if (!version.starts_with('.')) {
            break;
        }
        version.remove_prefix(1);
    }
    return parts < std::array<int, 3>{6, 5, 3};
}

}  // namespace

SessionEnvironment ReadSessionEnvironment() {
    return {Variable("QT_QPA_PLATFORM"), Variable("DISPLAY"), Variable("WAYLAND_DISPLAY"),
            Variable("XDG_SESSION_TYPE"), Variable("QT_IM_MODULE")};
}

DisplayChoice ChooseDisplay(const SessionEnvironment& session, std::string_view toolkitVersion) {
    DisplayChoice choice;
    if (IsSet(session.qtPlatform)) {
        choice.platforms = *session.qtPlatform;
        choice.chosenByUser = true;
    } else {
        // X11 first, which in a Wayland session is XWayland: there the dialogs open where the
        // program places them, which Wayland leaves to the compositor.
        if (IsSet(session.x11Display)) {
            choice.platforms = "xcb";
        }
        if (IsSet(session.waylandDisplay) || session.sessionType == "wayland") {
            choice.platforms += choice.platforms.empty() ? "wayland" : ";wayland";
        }
    }
    // Without a QT_IM_MODULE (or with "wayland") the toolkit uses the compositor's text input;
    // where that client may crash, "compose" is what the toolkit falls back to anyway: dead
    // keys and compose sequences still work, and input methods that run beside the program
    // (ibus, fcitx), which a user names in QT_IM_MODULE, are left alone.
    const bool sessionTextInput = !IsSet(session.inputMethod) || *session.inputMethod == "wayland";
    if (sessionTextInput && MayUseWayland(choice.platforms) &&
        TextInputClientMayCrash(toolkitVersion)) {
        choice.inputMethod = "compose";
    }
    return choice;
}

std::string NoDisplayMessage(std::string_view programName, const DisplayChoice& choice) {
    std::string line(programName);
    if (choice.chosenByUser) {
        line += ": the platform \"" + choice.platforms +
                "\" named by QT_QPA_PLATFORM cannot open the window; tabulon-cli makes the "
                "same reports without a display";
    } else {
        line +=
            ": there is no graphical display to open the window on; tabulon-cli makes the "
            "same reports without one";
    }
    return line;
}

}  // namespace ui
