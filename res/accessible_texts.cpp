// SPDX-License-Identifier: MIT
#include "res/accessible_texts.h"

#include "res/resource.h"

namespace res {

namespace {

constexpr AccessibleText kTexts[] = {
    {IDD_REPORT_DIALOG, IDC_BROWSE_PCG, "Browse for the PCG file", "Choose the PCG file to read"},
    {IDD_REPORT_DIALOG, IDC_BROWSE_REPORT, "Browse for the report",
     "Choose the name for the HTML report"},
    {IDD_REPORT_DIALOG, IDC_LAYOUT, "Layout", "Choose what the report shows"},
};

}  // namespace

const AccessibleText* FindAccessibleText(int dialogId, int controlId) {
    for (const AccessibleText& text : kTexts) {
        if (text.dialogId == dialogId && text.controlId == controlId) {
            return &text;
        }
    }
    return nullptr;
}

}  // namespace res
