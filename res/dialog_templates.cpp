// SPDX-License-Identifier: MIT
#include "res/dialog_template.h"
#include "res/resource.h"

namespace res {

namespace {

using namespace ControlStyle;
using enum ControlKind;

constexpr unsigned kDialogStyle =
    DialogStyle::Caption | DialogStyle::SystemMenu | DialogStyle::ModalFrame;

constexpr ControlTemplate kAboutControls[] = {
    {IDC_STATIC, StaticIcon, "", 10, 7, 20, 20, 0, IDR_MAINFRAME},
    {IDC_STATIC, StaticText, "Tabulon Version 1.0\nLinux edition", 37, 7, 130, 20,
     Center | NoPrefix},
    {IDC_STATIC, StaticText, "Free software under the MIT licence.", 41, 45, 119, 8, 0},
    {IDOK, DefPushButton, "OK", 178, 4, 50, 14, TabStop},
    {IDC_STATIC, FilledRect, "", 40, 27, 121, 2, 0},
    {IDC_STATIC, StaticText, "Report issues on the project tracker.", 40, 33, 119, 9, Center},
};

constexpr ControlTemplate kReportControls[] = {
    {IDC_PCG_FILE, Edit, "", 14, 18, 268, 14, Border | TabStop | AutoHScroll},
    {IDC_REPORT_FILE, Edit, "", 14, 60, 268, 14, Border | TabStop | AutoHScroll},
    // The layout: in step 3's free space beside Generate, and before it in the tab order.
    {IDC_STATIC, StaticText, "La&yout:", 162, 109, 27, 8, 0},
    {IDC_LAYOUT, DropDownList, "", 190, 107, 62, 13, TabStop},
    {IDOK, DefPushButton, "&Generate", 105, 104, 50, 14, TabStop},
    {IDC_ABOUT, PushButton, "&About", 265, 94, 50, 14, 0},
    {IDC_EXIT, PushButton, "E&xit", 265, 111, 50, 14, TabStop},
    {IDC_STATIC, GroupBox,
     "Step 1 - Enter or choose the name of a PCG file containing Triton Patches", 7, 4, 307, 38, 0},
    {IDC_BROWSE_PCG, PushButton, "...", 287, 17, 17, 14, Center | VCenter | SunkenEdge},
    {IDC_STATIC, GroupBox, "Step 2 - Enter or choose the name for the HTML report", 7, 46, 307, 38,
     0},
    {IDC_BROWSE_REPORT, PushButton, "...", 287, 60, 17, 14, Center | VCenter | SunkenEdge},
    {IDC_STATIC, GroupBox, "Step 3 - Generate HTML Report", 7, 89, 251, 37, 0},
};

constexpr DialogTemplate kTemplates[] = {
    {IDD_ABOUTBOX, "About", 235, 63, "MS Sans Serif", 8, kDialogStyle, kAboutControls},
    {IDD_REPORT_DIALOG, "Tabulon", 322, 134, "MS Sans Serif", 8,
     kDialogStyle | DialogStyle::AppWindow, kReportControls},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate& dialog : kTemplates) {
        if (dialog.id == id) {
            return &dialog;
        }
    }
    return nullptr;
}

}  // namespace res
