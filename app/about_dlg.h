// SPDX-License-Identifier: MIT
// CAboutDlg: the About box, everything it shows taken from its dialog template.
#pragma once

#include "platform/ui/dialog.h"

class CAboutDlg : public CDialog {
public:
    // Owned by the application's main window (the framework's choice when no owner is given).
    CAboutDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
