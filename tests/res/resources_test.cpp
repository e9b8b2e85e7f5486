// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "res/dialog_template.h"
#include "res/icon_images.h"
#include "res/resource.h"
#include "res/string_table.h"

namespace {

using res::ControlKind;
using res::ControlTemplate;
using namespace res::ControlStyle;

const res::DialogTemplate& Template(int id) {
    const res::DialogTemplate* dialog = res::FindDialogTemplate(id);
    if (!dialog) {
        throw std::runtime_error("no template " + std::to_string(id));
    }
    return *dialog;
}

void ExpectControl(const ControlTemplate& c, int id, ControlKind kind, const std::string& text,
                   int x, int y, int width, int height, unsigned style) {
    SCOPED_TRACE(text);
    EXPECT_EQ(c.id, id);
    EXPECT_EQ(c.kind, kind);
    EXPECT_EQ(std::string(c.text), text);
    EXPECT_EQ(c.x, x);
    EXPECT_EQ(c.y, y);
    EXPECT_EQ(c.width, width);
    EXPECT_EQ(c.height, height);
    EXPECT_EQ(c.style, style);
}

TEST(Resources, IdsKeepTheirValues) {
    EXPECT_EQ(IDD_ABOUTBOX, 100);
    EXPECT_EQ(IDS_ABOUTBOX, 101);
    EXPECT_EQ(IDD_REPORT_DIALOG, 102);
    EXPECT_EQ(IDR_MAINFRAME, 128);
    EXPECT_EQ(IDC_BROWSE_PCG, 1000);
    EXPECT_EQ(IDC_BROWSE_REPORT, 1002);
    EXPECT_EQ(IDC_PCG_FILE, 1003);
    EXPECT_EQ(IDC_REPORT_FILE, 1004);
    EXPECT_EQ(IDC_EXIT, 1005);
    EXPECT_EQ(IDC_ABOUT, 1006);
    EXPECT_EQ(IDM_ABOUTBOX, 0x0010u);
    EXPECT_EQ(IDM_ABOUTBOX & 0xFu, 0u);
    EXPECT_LT(IDM_ABOUTBOX, 0xF000u);
    EXPECT_EQ(IDOK, 1);
    EXPECT_EQ(IDCANCEL, 2);
    EXPECT_EQ(IDC_STATIC, -1);
}

TEST(Resources, AboutBoxLayout) {
    const res::DialogTemplate& about = Template(IDD_ABOUTBOX);
    EXPECT_STREQ(about.caption, "About");
    EXPECT_EQ(about.width, 235);
    EXPECT_EQ(about.height, 63);
    EXPECT_STREQ(about.fontName, "MS Sans Serif");
    EXPECT_EQ(about.fontPointSize, 8);
    using namespace res::DialogStyle;
    EXPECT_EQ(about.style, Caption | SystemMenu | ModalFrame);
    ASSERT_EQ(about.controls.size(), 6u);
    const auto& c = about.controls;
    ExpectControl(c[0], IDC_STATIC, ControlKind::StaticIcon, "", 10, 7, 20, 20, 0);
    EXPECT_EQ(c[0].imageId, IDR_MAINFRAME);
    ExpectControl(c[1], IDC_STATIC, ControlKind::StaticText, "Tabulon Version 1.0\nLinux edition",
                  37, 7, 130, 20, Center | NoPrefix);
    EXPECT_EQ(c[2].kind, ControlKind::StaticText);
    EXPECT_EQ(c[2].style, 0u);  // left-aligned
    EXPECT_EQ(std::make_tuple(c[2].x, c[2].y, c[2].width, c[2].height),
              std::make_tuple(41, 45, 119, 8));
    ExpectControl(c[3], IDOK, ControlKind::DefPushButton, "OK", 178, 4, 50, 14, TabStop);
    ExpectControl(c[4], IDC_STATIC, ControlKind::FilledRect, "", 40, 27, 121, 2, 0);
    EXPECT_EQ(c[5].kind, ControlKind::StaticText);
    EXPECT_EQ(c[5].style, Center);
    EXPECT_EQ(std::make_tuple(c[5].x, c[5].y, c[5].width, c[5].height),
              std::make_tuple(40, 33, 119, 9));
}

TEST(Resources, AboutBoxFreeTextsNameNoPerson) {
    const auto& c = Template(IDD_ABOUTBOX).controls;
    EXPECT_STREQ(c[2].text, "Free software under the MIT licence.");
    EXPECT_NE(std::string(c[5].text).find("tracker"), std::string::npos);
}

TEST(Resources, MainDialogLayout) {
    const res::DialogTemplate& main = Template(IDD_REPORT_DIALOG);
    EXPECT_STREQ(main.caption, "Tabulon");
    EXPECT_EQ(main.width, 322);
    EXPECT_EQ(main.height, 134);
    EXPECT_STREQ(main.fontName, "MS Sans Serif");
    EXPECT_EQ(main.fontPointSize, 8);
    using namespace res::DialogStyle;
    EXPECT_EQ(main.style, Caption | SystemMenu | ModalFrame | AppWindow);
    ASSERT_EQ(main.controls.size(), 12u);
    const auto& c = main.controls;
    const unsigned field = Border | TabStop | AutoHScroll;
    const unsigned browse = Center | VCenter | SunkenEdge;
    ExpectControl(c[0], IDC_PCG_FILE, ControlKind::Edit, "", 14, 18, 268, 14, field);
    ExpectControl(c[1], IDC_REPORT_FILE, ControlKind::Edit, "", 14, 60, 268, 14, field);
    // The layout joins step 3 beside Generate, before it in the tab order.
    ExpectControl(c[2], IDC_STATIC, ControlKind::StaticText, "La&yout:", 162, 109, 27, 8, 0);
    ExpectControl(c[3], IDC_LAYOUT, ControlKind::DropDownList, "", 190, 107, 62, 13, TabStop);
    ExpectControl(c[4], IDOK, ControlKind::DefPushButton, "&Generate", 105, 104, 50, 14, TabStop);
    ExpectControl(c[5], IDC_ABOUT, ControlKind::PushButton, "&About", 265, 94, 50, 14, 0);
    ExpectControl(c[6], IDC_EXIT, ControlKind::PushButton, "E&xit", 265, 111, 50, 14, TabStop);
    ExpectControl(c[7], IDC_STATIC, ControlKind::GroupBox,
                  "Step 1 - Enter or choose the name of a PCG file containing Triton Patches", 7, 4,
                  307, 38, 0);
    ExpectControl(c[8], IDC_BROWSE_PCG, ControlKind::PushButton, "...", 287, 17, 17, 14, browse);
    ExpectControl(c[9], IDC_STATIC, ControlKind::GroupBox,
                  "Step 2 - Enter or choose the name for the HTML report", 7, 46, 307, 38, 0);
    ExpectControl(c[10], IDC_BROWSE_REPORT, ControlKind::PushButton, "...", 287, 60, 17, 14,
                  browse);
    ExpectControl(c[11], IDC_STATIC, ControlKind::GroupBox, "Step 3 - Generate HTML Report", 7, 89,
                  251, 37, 0);
}

TEST(Resources, EveryDialogIsConsistent) {
    for (int id : {IDD_ABOUTBOX, IDD_REPORT_DIALOG}) {
        SCOPED_TRACE(id);
        const res::DialogTemplate& dialog = Template(id);
        int defaults = 0;
        std::set<int> ids;
        for (const ControlTemplate& c : dialog.controls) {
            EXPECT_GE(c.x, 0);
            EXPECT_GE(c.y, 0);
            EXPECT_LE(c.x + c.width, dialog.width) << c.text;
            EXPECT_LE(c.y + c.height, dialog.height) << c.text;
            defaults += c.kind == ControlKind::DefPushButton;
            if (c.id != IDC_STATIC) {
                EXPECT_TRUE(ids.insert(c.id).second) << "duplicate id " << c.id;
            }
        }
        EXPECT_EQ(defaults, 1);
    }
    EXPECT_EQ(res::FindDialogTemplate(IDR_MAINFRAME), nullptr);
}

TEST(Resources, StringTable) {
    EXPECT_EQ(res::LoadStringResource(IDS_ABOUTBOX), "&About Tabulon...");
    EXPECT_EQ(res::LoadStringResource(IDD_ABOUTBOX), "");
}

// The icon images, read back from their XPM text.
struct Xpm {
    int width = 0, height = 0, colours = 0;
    std::map<char, std::string> colourOf;
    std::vector<std::string> rows;
};

Xpm ReadXpm(const char* const* xpm) {
    Xpm image;
    int perPixel = 0;
    std::sscanf(xpm[0], "%d %d %d %d", &image.width, &image.height, &image.colours, &perPixel);
    EXPECT_EQ(perPixel, 1);
    for (int i = 0; i < image.colours; ++i) {
        const std::string line = xpm[1 + i];
        image.colourOf[line[0]] = line.substr(line.rfind(' ') + 1);
    }
    for (int y = 0; y < image.height; ++y) {
        image.rows.emplace_back(xpm[1 + image.colours + y]);
    }
    return image;
}

TEST(Resources, IconIsABlueDiamondWithHighlightOnTheLeft) {
    const auto images = res::FindIconImages(IDR_MAINFRAME);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].size, 32);
    EXPECT_EQ(images[1].size, 16);
    for (const res::IconImage& icon : images) {
        SCOPED_TRACE(icon.size);
        const Xpm image = ReadXpm(icon.xpm);
        const int n = icon.size;
        ASSERT_EQ(image.width, n);
        ASSERT_EQ(image.height, n);
        EXPECT_LE(image.colours, 16);
        auto colour = [&](int x, int y) { return image.colourOf.at(image.rows[y].at(x)); };
        ASSERT_EQ(static_cast<int>(image.rows.size()), n);
        for (const std::string& row : image.rows) {
            EXPECT_EQ(static_cast<int>(row.size()), n);
        }
        // Standing on one point and filling the square: the four tips touch the edges, the
        // corners are transparent.
        EXPECT_EQ(colour(0, 0), "None");
        EXPECT_EQ(colour(n - 1, n - 1), "None");
        EXPECT_EQ(colour(n / 2, 0), "#000000");
        EXPECT_EQ(colour(n / 2, n - 1), "#000000");
        EXPECT_EQ(colour(0, n / 2), "#000000");
        EXPECT_EQ(colour(n - 1, n / 2), "#000000");
        EXPECT_EQ(colour(n / 2, n / 2), "#000080");
        // Mirror-symmetric top to bottom; the bright-blue line only on the left half.
        int brightLeft = 0, brightRight = 0;
        for (int y = 0; y < n; ++y) {
            EXPECT_EQ(image.rows[y], image.rows[n - 1 - y]);
            for (int x = 0; x < n; ++x) {
                if (colour(x, y) == "#0000FF") {
                    (x < n / 2 ? brightLeft : brightRight) += 1;
                }
            }
        }
        EXPECT_GE(brightLeft, n / 2);
        EXPECT_EQ(brightRight, 0);
    }
    EXPECT_TRUE(res::FindIconImages(IDD_ABOUTBOX).empty());
}

}  // namespace
