// SPDX-License-Identifier: MIT
// CAboutDlg: the About box. Everything it shows comes from its dialog template; it binds no
// data and handles nothing of its own.
#pragma once

#include "platform/ui/dialog.h"

class CAboutDlg : public CDialog {
public:
    // Owned by the application's main window (the framework's choice when no owner is given).
    CAboutDlg();
};
