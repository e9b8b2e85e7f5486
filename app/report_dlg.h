// SPDX-License-Identifier: MIT
// CReportDlg: the program's one window, three numbered steps that lead to a report.
#pragma once

#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/icon.h"

class CReportDlg : public CDialog {
public:
    // Opens with the paths of the last successful report; Generate runs as its OK command and
    // leaves it open. Exit ends it with IDOK, Esc and the close box with IDCANCEL.
    explicit CReportDlg(CDialog* pParentWnd = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    // Generate: writes the report, stores both paths after a success, shows the outcome.
    void OnOK() override;
    bool OnCommand(int id) override;
    void OnSysCommand(unsigned id, long param) override;
    // Painting the icon of a minimised window and answering the drag-icon query are left to
    // Qt and the window manager, which do both from the window's icon.

    void OnBrowsePcg();
    void OnBrowseReport();
    void OnExit();
    void OnAbout();

    CEdit m_pcgFile;
    CEdit m_reportFile;
    HICON m_hIcon;
};
