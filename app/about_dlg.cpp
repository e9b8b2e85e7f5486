// SPDX-License-Identifier: MIT
#include "app/about_dlg.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    // Nothing to bind: the box only shows its template.
    CDialog::DoDataExchange(pDX);
}
