// SPDX-License-Identifier: MIT
#include "app/report_dlg.h"

#include <string>

#include "app/about_dlg.h"
#include "app/settings_store.h"
#include "engine/generate_report.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/initial_folder.h"
#include "platform/ui/menu.h"
#include "platform/ui/win_app.h"
#include "res/resource.h"
#include "res/string_table.h"

namespace {

constexpr char kSection[] = "MRU";
constexpr char kReportKey[] = "report";
constexpr char kPcgKey[] = "pcg";

}  // namespace

CReportDlg::CReportDlg(CDialog* pParentWnd)
    : CDialog(IDD_REPORT_DIALOG, pParentWnd), m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)) {}

void CReportDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PCG_FILE, m_pcgFile);
    DDX_Control(pDX, IDC_REPORT_FILE, m_reportFile);
}

bool CReportDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // Window managers on X11 own the window menu, so there is usually none to add About to;
    // the About button serves instead.
    if (CMenu* systemMenu = GetSystemMenu(false)) {
        const std::string about = res::LoadStringResource(IDS_ABOUTBOX);
        if (!about.empty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    SetIcon(m_hIcon, true);

    m_reportFile.SetWindowText(ReadSetting(kSection, kReportKey, ""));
    m_pcgFile.SetWindowText(ReadSetting(kSection, kPcgKey, ""));
    return true;
}

void CReportDlg::OnOK() {
    const std::string pcgPath = m_pcgFile.GetWindowText();
    const std::string reportPath = m_reportFile.GetWindowText();
    const GenerateOutcome outcome = GenerateReport(pcgPath, reportPath);
    if (outcome.succeeded) {
        // Both paths or neither, in one replacement of the file: a path the file cannot hold
        // (a line break in a file name) must not pair the other with a path of another run.
        WriteSettings(kSection, {{kReportKey, reportPath}, {kPcgKey, pcgPath}});
    }
    const unsigned icon =
        outcome.icon == OutcomeIcon::Warning ? MB_ICONEXCLAMATION : MB_ICONINFORMATION;
    AfxMessageBox(outcome.message, MB_OK | icon);
}

bool CReportDlg::OnCommand(int id) {
    switch (id) {
        case IDC_BROWSE_REPORT:
            OnBrowseReport();
            return true;
        case IDC_BROWSE_PCG:
            OnBrowsePcg();
            return true;
        case IDC_EXIT:
            OnExit();
            return true;
        case IDC_ABOUT:
            OnAbout();
            return true;
        default:
            return CDialog::OnCommand(id);
    }
}

void CReportDlg::OnSysCommand(unsigned id, long param) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        OnAbout();
        return;
    }
    CDialog::OnSysCommand(id, param);
}

void CReportDlg::OnBrowsePcg() {
    CFileDialog dialog(true, ".PCG", nullptr, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                       "PCG Files (*.pcg)|*.pcg|All Files (*.*)|*.*||", this);
    // Where the file in the field lies, rather than wherever the program was started.
    dialog.m_ofn.lpstrInitialDir = ui::FolderOfPath(m_pcgFile.GetWindowText());
    if (dialog.DoModal() == IDOK) {
        m_pcgFile.SetWindowText(dialog.GetPathName());
    }
}

void CReportDlg::OnBrowseReport() {
    // Nothing is created here: the report is written only by Generate.
    CFileDialog dialog(false, ".TXT", nullptr, OFN_OVERWRITEPROMPT,
                       "HTML Files (*.htm)|*.htm|All Files (*.*)|*.*||", this);
    dialog.m_ofn.lpstrInitialDir = ui::FolderOfPath(m_reportFile.GetWindowText());
    if (dialog.DoModal() == IDOK) {
        m_reportFile.SetWindowText(dialog.GetPathName());
    }
}

void CReportDlg::OnExit() {
    EndDialog(IDOK);
}

void CReportDlg::OnAbout() {
    CAboutDlg about;
    about.DoModal();
}
