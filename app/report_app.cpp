// SPDX-License-Identifier: MIT
#include "app/report_app.h"

#include "app/report_dlg.h"
#include "res/desktop_entry.h"

CReportApp::CReportApp() : CWinApp("Tabulon") {
    SetDesktopEntry(res::kDesktopEntryId);
}

bool CReportApp::InitInstance() {
    // Qt's style draws the controls itself: there are no 3-D controls to ask for.
    CReportDlg dialog;
    SetMainWnd(&dialog);
    dialog.DoModal();
    SetMainWnd(nullptr);
    return false;
}

int CReportApp::DoMessageBox(const std::string& prompt, unsigned type, unsigned helpId) {
    return CWinApp::DoMessageBox(prompt, type, helpId);
}
