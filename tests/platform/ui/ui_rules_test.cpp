// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ui/dialog_units.h"
#include "platform/ui/file_filter.h"
#include "platform/ui/initial_folder.h"
#include "platform/ui/window_placement.h"
#include "support/temp_dir.h"

namespace {

using ui::FileFilter;
using ui::PixelRect;

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
    EXPECT_FALSE(ui::HasExtension("/a.b/c"));
    EXPECT_TRUE(ui::HasExtension("c.d"));
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
