// SPDX-License-Identifier: MIT
#include "platform/ui/display_session.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <vector>

namespace ui {

namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

bool IsSet(const std::optional<std::string>& value) {
    return value && !value->empty();
}

// The ';'-separated platforms (each "name" or "name:options"), by name.
std::vector<std::string_view> PlatformNames(std::string_view platforms) {
    std::vector<std::string_view> names;
    while (!platforms.empty()) {
        const size_t end = platforms.find(';');
        const std::string_view platform = platforms.substr(0, end);
        names.push_back(platform.substr(0, platform.find(':')));
        platforms = end == std::string_view::npos ? std::string_view{} : platforms.substr(end + 1);
    }
    return names;
}

bool MayUseWayland(std::string_view platforms) {
    const std::vector<std::string_view> names = PlatformNames(platforms);
    return std::any_of(names.begin(), names.end(),
                       [](std::string_view name) { return name.starts_with("wayland"); });
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

// `value` fit for a one-line message.
std::string Printable(std::string value) {
    for (char& c : value) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    return value;
}

// Where the platform `name` looks for its display, as the user would look for it; empty for
// platforms that need none.
std::string DisplayTried(std::string_view name, const SessionEnvironment& session) {
    if (name == "xcb") {
        return IsSet(session.x11Display) ? "DISPLAY=" + Printable(*session.x11Display)
                                         : "DISPLAY (not set)";
    }
    if (name.starts_with("wayland")) {
        // As the Wayland client library finds it: WAYLAND_DISPLAY, by default "wayland-0", a
        // path of its own or a name in XDG_RUNTIME_DIR.
        const std::string socket =
            Printable(IsSet(session.waylandDisplay) ? *session.waylandDisplay : "wayland-0");
        if (socket.starts_with('/')) {
            return "the Wayland socket " + socket;
        }
        return IsSet(session.runtimeDir)
                   ? "the Wayland socket " + Printable(*session.runtimeDir) + "/" + socket
                   : "the Wayland display " + socket + " (XDG_RUNTIME_DIR not set)";
    }
    return {};
}

// " on A nor on B" for the displays the platforms tried, or nothing.
std::string WhereTried(const DisplayChoice& choice, const SessionEnvironment& session) {
    std::string where;
    std::vector<std::string> tried;
    for (const std::string_view name : PlatformNames(choice.platforms)) {
        std::string display = DisplayTried(name, session);
        if (!display.empty() && std::find(tried.begin(), tried.end(), display) == tried.end()) {
            where += (tried.empty() ? " on " : " nor on ") + display;
            tried.push_back(std::move(display));
        }
    }
    return where;
}

}  // namespace

SessionEnvironment ReadSessionEnvironment() {
    return {Variable("QT_QPA_PLATFORM"),  Variable("DISPLAY"),      Variable("WAYLAND_DISPLAY"),
            Variable("XDG_SESSION_TYPE"), Variable("QT_IM_MODULE"), Variable("XDG_RUNTIME_DIR")};
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

std::string NoDisplayMessage(std::string_view programName, const SessionEnvironment& session,
                             const DisplayChoice& choice) {
    std::string line(programName);
    if (choice.chosenByUser) {
        line += ": the platform \"" + Printable(choice.platforms) +
                "\" named by QT_QPA_PLATFORM cannot open the window" + WhereTried(choice, session) +
                "; tabulon-cli makes the same reports without a display";
    } else if (choice.platforms.empty()) {
        line +=
            ": there is no graphical display to open the window on (neither DISPLAY nor "
            "WAYLAND_DISPLAY is set); tabulon-cli makes the same reports without one";
    } else {
        line += ": cannot open the window" + WhereTried(choice, session) +
                "; tabulon-cli makes the same reports without a display";
    }
    return line;
}

}  // namespace ui
