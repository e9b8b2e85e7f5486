// SPDX-License-Identifier: MIT
// CReportDlg: the program's one window, three numbered steps that lead to a report.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/combo_box.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/icon.h"

class CReportDlg : public CDialog {
public:
    // Opens with the paths and the layout of the last successful report; Generate runs as its
    // OK command and leaves it open. Exit ends it with IDOK, Esc and the close box with
    // IDCANCEL.
    explicit CReportDlg(CDialog* pParentWnd = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    // Generate: writes the report in the chosen layout from the fields' paths made whole
    // (os::WholePath), stores those and the layout after a success, shows the outcome with
    // the system's reason for a failure, or the report's path, as its details.
    void OnOK() override;
    bool OnCommand(int id) override;
    void OnSysCommand(unsigned id, long param) override;
    // Painting the icon of a minimised window and answering the drag-icon query are left to
    // Qt and the window manager, which do both from the window's icon.

    void OnBrowsePcg();
    void OnBrowseReport();
    void OnExit();
    void OnAbout();

    // The shipped layouts by what they show, then the user's own by their names.
    void FillLayouts(const std::string& chosen);

    CEdit m_pcgFile;
    CEdit m_reportFile;
    CComboBox m_layout;
    std::vector<std::string> m_layoutNames;  // each item's, as tabulon-cli --layout takes it
    HICON m_hIcon;
};
