// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ui/dialog_units.h"
#include "platform/ui/display_session.h"
#include "platform/ui/file_filter.h"
#include "platform/ui/initial_folder.h"
#include "platform/ui/window_placement.h"
#include "support/temp_dir.h"

namespace {

using ui::DisplayChoice;
using ui::FileFilter;
using ui::PixelRect;
using ui::SessionEnvironment;

TEST(DialogUnits, RoundLikeTheDialogManager) {
    EXPECT_EQ(ui::MulDiv(119, 7, 4), 208);    // 208.25
    EXPECT_EQ(ui::MulDiv(10, 7, 4), 18);      // 17.5 rounds up
    EXPECT_EQ(ui::MulDiv(-10, 7, 4), -18);    // and away from zero below it
    EXPECT_EQ(ui::MulDiv(2, 13, 8), 3);       // 3.25
    EXPECT_EQ(ui::MulDiv(4, 13, 8), 7);       // 6.5
    EXPECT_EQ(ui::AverageCharWidth(353), 7);  // 6.79
    EXPECT_EQ(ui::AverageCharWidth(338), 7);  // 6.5
    EXPECT_EQ(ui::AverageCharWidth(337), 6);
}

TEST(DialogUnits, ConvertPositionAndSizeSeparately) {
    const ui::BaseUnits base{7, 13};
    EXPECT_EQ(ui::DialogRectToPixels(178, 4, 50, 14, base), (PixelRect{312, 7, 88, 23}));
    EXPECT_EQ(ui::DialogRectToPixels(265, 94, 50, 14, base), (PixelRect{464, 153, 88, 23}));
    EXPECT_EQ(ui::DialogUnitsToPixelsX(322, base), 564);
    EXPECT_EQ(ui::DialogUnitsToPixelsY(134, base), 218);
    // Another font, another size: everything scales.
    EXPECT_EQ(ui::DialogRectToPixels(4, 8, 4, 8, {10, 20}), (PixelRect{10, 20, 10, 20}));
}

TEST(WindowPlacement, CentresOverTheOwner) {
    const PixelRect work{0, 0, 1280, 770};
    EXPECT_EQ(ui::CenteredPosition(200, 100, PixelRect{100, 100, 600, 300}, work),
              (ui::Point{300, 200}));
}

TEST(WindowPlacement, CentresOnTheWorkAreaWithoutOwner) {
    EXPECT_EQ(ui::CenteredPosition(200, 100, std::nullopt, PixelRect{0, 30, 1280, 770}),
              (ui::Point{540, 365}));
}

TEST(WindowPlacement, StaysInsideTheWorkArea) {
    const PixelRect work{0, 30, 1280, 770};
    // Owner hanging off the right and bottom edges.
    EXPECT_EQ(ui::CenteredPosition(400, 200, PixelRect{1100, 700, 300, 200}, work),
              (ui::Point{880, 600}));
    // Owner off the top-left corner.
    EXPECT_EQ(ui::CenteredPosition(400, 200, PixelRect{-300, -100, 300, 100}, work),
              (ui::Point{0, 30}));
    // Larger than the work area: the top-left corner stays on it.
    EXPECT_EQ(ui::CenteredPosition(1400, 900, std::nullopt, work), (ui::Point{0, 30}));
}

TEST(WindowPlacement, BesideTheOwnerWhereThereIsRoom) {
    const PixelRect work{0, 0, 1280, 800};
    // Right of the owner.
    EXPECT_EQ(ui::BesidePosition(500, 400, PixelRect{100, 100, 400, 200}, work, 8),
              (ui::Point{508, 100}));
    // No room on the right: left of it.
    EXPECT_EQ(ui::BesidePosition(500, 400, PixelRect{700, 100, 400, 200}, work, 8),
              (ui::Point{192, 100}));
    // Room on neither side: as far right as fits, and lifted to fit the height.
    EXPECT_EQ(ui::BesidePosition(500, 400, PixelRect{300, 600, 600, 150}, work, 8),
              (ui::Point{780, 400}));
    // Larger than the work area: its corner stays on it.
    EXPECT_EQ(ui::BesidePosition(1500, 900, PixelRect{300, 100, 400, 200}, work, 8),
              (ui::Point{0, 0}));
}

TEST(FileFilters, ParseTheBarSeparatedList) {
    EXPECT_EQ(
        ui::ParseFileFilters("PCG Files (*.pcg)|*.pcg|All Files (*.*)|*.*||"),
        (std::vector<FileFilter>{{"PCG Files (*.pcg)", {"*.pcg"}}, {"All Files (*.*)", {"*.*"}}}));
    EXPECT_EQ(ui::ParseFileFilters("Web pages|*.htm; *.html|"),
              (std::vector<FileFilter>{{"Web pages", {"*.htm", "*.html"}}}));
    // Without the closing bars, and with a description that lacks its patterns.
    EXPECT_EQ(ui::ParseFileFilters("Text|*.txt|Broken"),
              (std::vector<FileFilter>{{"Text", {"*.txt"}}}));
    EXPECT_TRUE(ui::ParseFileFilters("").empty());
    EXPECT_TRUE(ui::ParseFileFilters("||").empty());
}

TEST(FileFilters, BecomeWhatTheToolkitReads) {
    EXPECT_EQ(ui::ToolkitNameFilter({"PCG Files (*.pcg)", {"*.pcg"}}), "PCG Files (*.pcg)");
    EXPECT_EQ(ui::ToolkitNameFilter({"HTML Files (*.htm)", {"*.htm"}}), "HTML Files (*.htm)");
    // "*.*" would miss names without a dot.
    EXPECT_EQ(ui::ToolkitNameFilter({"All Files (*.*)", {"*.*"}}), "All Files (*)");
    // The patterns come from the list, not from the description.
    EXPECT_EQ(ui::ToolkitNameFilter({"Web pages", {"*.htm", "*.html"}}),
              "Web pages (*.htm *.html)");
    EXPECT_EQ(ui::ToolkitNameFilter({"Odd (one", {"*.x"}}), "Odd (one (*.x)");
}

TEST(FileFilters, ExtensionOfAFilter) {
    EXPECT_EQ(ui::FilterExtension({"", {"*.htm", "*.html"}}), "htm");
    EXPECT_EQ(ui::FilterExtension({"", {"*.*"}}), "");
    EXPECT_EQ(ui::FilterExtension({"", {"*"}}), "");
    EXPECT_EQ(ui::FilterExtension({"", {"*.htm*"}}), "");
    EXPECT_EQ(ui::FilterExtension({"", {"report.*"}}), "");
}

TEST(DefaultExtension, FollowsTheSelectedFilterThenTheDefault) {
    const FileFilter html{"HTML Files (*.htm)", {"*.htm"}};
    const FileFilter all{"All Files (*.*)", {"*.*"}};
    EXPECT_EQ(ui::WithDefaultExtension("/tmp/report", &html, ".TXT"), "/tmp/report.htm");
    EXPECT_EQ(ui::WithDefaultExtension("/tmp/report", &all, ".TXT"), "/tmp/report.TXT");
    EXPECT_EQ(ui::WithDefaultExtension("/tmp/report", &all, "TXT"), "/tmp/report.TXT");
    EXPECT_EQ(ui::WithDefaultExtension("/tmp/report", nullptr, ".TXT"), "/tmp/report.TXT");
    EXPECT_EQ(ui::WithDefaultExtension("/tmp/report", &all, ""), "/tmp/report");
}

TEST(DefaultExtension, KeepsANameThatHasOne) {
    const FileFilter html{"HTML Files (*.htm)", {"*.htm"}};
    EXPECT_EQ(ui::WithDefaultExtension("/tmp/report.html", &html, ".TXT"), "/tmp/report.html");
    EXPECT_EQ(ui::WithDefaultExtension("/tmp/report.", &html, ".TXT"), "/tmp/report.");
    // A dot in a folder name, or leading a hidden name, is no extension.
    EXPECT_EQ(ui::WithDefaultExtension("/tmp/v1.2/report", &html, ".TXT"), "/tmp/v1.2/report.htm");
    EXPECT_EQ(ui::WithDefaultExtension("/tmp/.report", &html, ".TXT"), "/tmp/.report.htm");
    EXPECT_EQ(ui::WithDefaultExtension("/tmp/", &html, ".TXT"), "/tmp/");
    EXPECT_EQ(ui::WithDefaultExtension("", &html, ".TXT"), "");
}

// --- Where the window opens ----------------------------------------------------------------

constexpr const char* kAffectedToolkit = "6.4.2";

TEST(DisplaySession, PrefersX11AndFallsBackToWayland) {
    // A Wayland session with XWayland: X11 first; the input method matters only if Wayland is
    // reached.
    EXPECT_EQ(
        ui::ChooseDisplay({.x11Display = ":0", .waylandDisplay = "wayland-0"}, kAffectedToolkit),
        (DisplayChoice{"xcb;wayland", false, "compose"}));
    EXPECT_EQ(ui::ChooseDisplay({.waylandDisplay = "wayland-0"}, kAffectedToolkit),
              (DisplayChoice{"wayland", false, "compose"}));
    EXPECT_EQ(ui::ChooseDisplay({.x11Display = ":0"}, kAffectedToolkit),
              (DisplayChoice{"xcb", false, std::nullopt}));
    // The session type alone names Wayland's default socket.
    EXPECT_EQ(ui::ChooseDisplay({.x11Display = ":1", .sessionType = "wayland"}, kAffectedToolkit)
                  .platforms,
              "xcb;wayland");
    EXPECT_EQ(ui::ChooseDisplay({.sessionType = "x11"}, kAffectedToolkit).platforms, "");
}

TEST(DisplaySession, NoDisplayWhenNothingIsNamed) {
    EXPECT_EQ(ui::ChooseDisplay({}, kAffectedToolkit), DisplayChoice{});
    // Set but empty is not set, for every variable.
    EXPECT_EQ(ui::ChooseDisplay({.qtPlatform = "", .x11Display = "", .waylandDisplay = ""},
                                kAffectedToolkit),
              DisplayChoice{});
    EXPECT_EQ(ui::NoDisplayMessage("tabulon", {}, {}),
              "tabulon: there is no graphical display to open the window on (neither DISPLAY nor "
              "WAYLAND_DISPLAY is set); tabulon-cli makes the same reports without one");
}

TEST(DisplaySession, KeepsThePlatformTheUserChose) {
    const SessionEnvironment both{.x11Display = ":0", .waylandDisplay = "wayland-0"};
    SessionEnvironment chosen = both;
    chosen.qtPlatform = "wayland";
    EXPECT_EQ(ui::ChooseDisplay(chosen, kAffectedToolkit),
              (DisplayChoice{"wayland", true, "compose"}));
    chosen.qtPlatform = "offscreen";
    EXPECT_EQ(ui::ChooseDisplay(chosen, kAffectedToolkit),
              (DisplayChoice{"offscreen", true, std::nullopt}));
    // Even without any display: the platform may need none.
    EXPECT_EQ(ui::ChooseDisplay({.qtPlatform = "vnc"}, kAffectedToolkit).platforms, "vnc");
    EXPECT_EQ(ui::NoDisplayMessage("tabulon2", {}, {"xcb", true, std::nullopt}),
              "tabulon2: the platform \"xcb\" named by QT_QPA_PLATFORM cannot open the window on "
              "DISPLAY (not set); tabulon-cli makes the same reports without a display");
}

TEST(DisplaySession, NamesTheDisplaysItTried) {
    const auto tried = [](SessionEnvironment session) {
        const std::string line =
            ui::NoDisplayMessage("tabulon", session, ui::ChooseDisplay(session, "6.8.0"));
        return line.substr(0, line.find("; tabulon-cli"));
    };
    EXPECT_EQ(tried({.x11Display = ":88", .waylandDisplay = "wayland-1", .runtimeDir = "/run/u"}),
              "tabulon: cannot open the window on DISPLAY=:88 nor on the Wayland socket "
              "/run/u/wayland-1");
    EXPECT_EQ(tried({.sessionType = "wayland", .runtimeDir = "/run/u"}),
              "tabulon: cannot open the window on the Wayland socket /run/u/wayland-0");
    EXPECT_EQ(tried({.waylandDisplay = "/tmp/w\nx"}),
              "tabulon: cannot open the window on the Wayland socket /tmp/w?x");
    EXPECT_EQ(tried({.waylandDisplay = "w"}),
              "tabulon: cannot open the window on the Wayland display w (XDG_RUNTIME_DIR not set)");
    EXPECT_EQ(tried({.qtPlatform = "offscreen;wayland:x", .waylandDisplay = "/w"}),
              "tabulon: the platform \"offscreen;wayland:x\" named by QT_QPA_PLATFORM cannot open "
              "the window on the Wayland socket /w");
}

TEST(DisplaySession, AvoidsTheCrashingTextInputOnWaylandOnly) {
    const auto inputMethod = [](std::optional<std::string> platform,
                                std::optional<std::string> module, const char* version) {
        return ui::ChooseDisplay({.qtPlatform = std::move(platform),
                                  .waylandDisplay = "wayland-0",
                                  .inputMethod = std::move(module)},
                                 version)
            .inputMethod;
    };
    // The values that pick the compositor's text input are replaced...
    EXPECT_EQ(inputMethod(std::nullopt, "", kAffectedToolkit), "compose");
    EXPECT_EQ(inputMethod(std::nullopt, "wayland", kAffectedToolkit), "compose");
    // ...also on any Wayland platform the user names, among others...
    EXPECT_EQ(inputMethod("xcb;wayland-egl", std::nullopt, kAffectedToolkit), "compose");
    EXPECT_EQ(inputMethod("wayland:nodecorations", std::nullopt, kAffectedToolkit), "compose");
    // ...but not on other platforms, nor an input method the user named.
    EXPECT_EQ(inputMethod("xcb", std::nullopt, kAffectedToolkit), std::nullopt);
    EXPECT_EQ(inputMethod("offscreen;xwayland", std::nullopt, kAffectedToolkit), std::nullopt);
    EXPECT_EQ(inputMethod(std::nullopt, "ibus", kAffectedToolkit), std::nullopt);
    // A toolkit with the check in place keeps the compositor's text input.
    EXPECT_EQ(inputMethod(std::nullopt, std::nullopt, "6.5.2"), "compose");
    EXPECT_EQ(inputMethod(std::nullopt, std::nullopt, "6.5.3"), std::nullopt);
    EXPECT_EQ(inputMethod(std::nullopt, std::nullopt, "6.10.0"), std::nullopt);
    EXPECT_EQ(inputMethod(std::nullopt, std::nullopt, "7.0"), std::nullopt);
    EXPECT_EQ(inputMethod(std::nullopt, std::nullopt, "unknown"), "compose");
}

TEST(InitialFolder, FromThePathInTheField) {
    support::TempDir dir;
    EXPECT_EQ(ui::FolderOfPath("/data/banks/ALL.PCG"), "/data/banks");
    EXPECT_EQ(ui::FolderOfPath("/ALL.PCG"), "/");
    EXPECT_EQ(ui::FolderOfPath("ALL.PCG"), ".");
    EXPECT_EQ(ui::FolderOfPath(""), "");
    // A folder typed without its "/" is where to look, not beside.
    EXPECT_EQ(ui::FolderOfPath(dir.path()), dir.path());
    const std::string last = dir.Path("last");
    std::filesystem::create_directory(last);
    EXPECT_EQ(ui::InitialFolder(dir.path() + "/last/../last/./", "", "/"), last);
    EXPECT_EQ(ui::InitialFolder(dir.Write("file", "x"), last, "/"), last);
    EXPECT_EQ(ui::InitialFolder("", dir.Path("gone"), dir.path() + "/"), dir.path());
}

}  // namespace
