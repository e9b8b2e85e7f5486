// SPDX-License-Identifier: MIT
// CReportApp: the application object, whose start-up is the main dialog's whole modal run.
#pragma once

#include <string>

#include "platform/ui/win_app.h"

class CReportApp : public CWinApp {
public:
    // Titled "Tabulon": the caption of every message box.
    CReportApp();

    // Runs the main dialog modally and returns false, so the program ends when it closes,
    // however it was closed.
    bool InitInstance() override;

    int DoMessageBox(const std::string& prompt, unsigned type, unsigned helpId) override;
};
