// SPDX-License-Identifier: MIT
#include "platform/ui/win_app.h"

#include <QApplication>
#include <QDialog>
#include <utility>

#include "platform/os/executable_path.h"
#include "platform/os/path_names.h"
#include "platform/ui/dialog.h"
#include "platform/ui/display_session.h"
#include "platform/ui/help_viewer.h"
#include "platform/ui/toolkit_start.h"

namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp(const char* appName) : m_appName(appName ? appName : "") {
    const std::string exePath = os::ExecutablePath();
    m_exeName = os::StemOf(exePath);
    m_helpFilePath = os::WithExtension(exePath, ".HLP");
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

int CWinApp::Run(int argc, char** argv) {
    const ui::SessionEnvironment session = ui::ReadSessionEnvironment();
    const ui::DisplayChoice display = ui::ChooseDisplay(session, qVersion());
    const auto application =
        ui::StartToolkit(argc, argv, display, ui::NoDisplayMessage(m_exeName, session, display));
    QApplication::setApplicationName(QString::fromLocal8Bit(m_exeName));
    if (!m_desktopEntry.empty()) {
        QGuiApplication::setDesktopFileName(QString::fromStdString(m_desktopEntry));
    }
    // The platform reports failed file operations to the program, which shows its own
    // messages; there is no error mode to set, nor 3-D controls to ask for.
    if (InitInstance()) {
        bool anyOpen = false;
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            anyOpen = anyOpen || window->isVisible();
        }
        if (anyOpen) {
            QApplication::exec();
        }
    }
    return 0;
}

bool CWinApp::InitInstance() {
    return false;
}

int CWinApp::DoMessageBox(const std::string& prompt, unsigned type, unsigned /*helpId*/) {
    const std::string details = std::exchange(m_messageDetails, {});
    return ui::ShowMessageBox(CDialog::OwnerWindowFor(nullptr), prompt, m_appName, type, details);
}

bool CWinApp::OnCommand(int id) {
    if (id == ID_HELP) {
        OnHelp();
        return true;
    }
    return false;
}

void CWinApp::OnHelp() {
    CDialog* dialog = CDialog::FromWidget(QApplication::focusWidget());
    if (!dialog) {
        dialog = CDialog::ActiveModal();
    }
    if (dialog) {
        WinHelp(HID_BASE_RESOURCE + static_cast<unsigned long>(dialog->TemplateId()));
    } else {
        WinHelp(0, HELP_FINDER);
    }
}

void CWinApp::WinHelp(unsigned long data, unsigned command) {
    const unsigned long topic = command == HELP_CONTEXT ? data : 0;
    if (!ui::ShowHelpTopic(CDialog::OwnerWindowFor(nullptr), m_helpFilePath, topic,
                           m_appName + " Help")) {
        AfxMessageBox("Failed to launch help.", MB_OK | MB_ICONEXCLAMATION);
    }
}

HICON CWinApp::LoadIcon(int resourceId) const {
    return LoadIconResource(resourceId);
}

CWinApp* AfxGetApp() {
    return g_app;
}

CDialog* AfxGetMainWnd() {
    return g_app ? g_app->GetMainWnd() : nullptr;
}

int AfxMessageBox(const std::string& text, unsigned type, unsigned helpId,
                  const std::string& details) {
    if (g_app) {
        g_app->m_messageDetails = details;
        return g_app->DoMessageBox(text, type, helpId);
    }
    return ui::ShowMessageBox(CDialog::OwnerWindowFor(nullptr), text, {}, type, details);
}
