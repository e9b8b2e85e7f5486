// SPDX-License-Identifier: MIT
#include "app/report_dlg.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "app/about_dlg.h"
#include "app/settings_store.h"
#include "engine/generate_report.h"
#include "engine/report_generation.h"
#include "platform/os/template_location.h"
#include "platform/os/typed_path.h"
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
constexpr char kLayoutKey[] = "layout";

// The shipped layouts as the list shows them, in os::kShippedLayouts' order.
constexpr const char* kShownLayouts[] = {"Patch list", "Every bank", "By category", "Combinations"};
static_assert(std::size(kShownLayouts) == std::size(os::kShippedLayouts));

// A name the settings file holds as it is: no line break, and nothing its reading would trim.
bool CanRemember(const std::string& name) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    return !name.empty() && name.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
           !blank(name.front()) && !blank(name.back());
}

// The template of layout `name`: where it is, or, for one of the user's that has gone since the
// list was made, where it was, so that Generate says it cannot be read.
os::TemplateLocation TemplateOf(const std::string& name) {
    if (auto found = os::FindLayout(name)) {
        return *found;
    }
    const std::string file = name + ".htm";
    return {os::UserTemplateFolder() + "/" + file, true, file};
}

}  // namespace

CReportDlg::CReportDlg(CDialog* pParentWnd)
    : CDialog(IDD_REPORT_DIALOG, pParentWnd), m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)) {}

void CReportDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PCG_FILE, m_pcgFile);
    DDX_Control(pDX, IDC_REPORT_FILE, m_reportFile);
    DDX_Control(pDX, IDC_LAYOUT, m_layout);
}

void CReportDlg::FillLayouts(const std::string& chosen) {
    m_layout.ResetContent();
    m_layoutNames.clear();
    for (std::size_t i = 0; i < std::size(os::kShippedLayouts); ++i) {
        m_layoutNames.emplace_back(os::kShippedLayouts[i].name);
        m_layout.AddString(kShownLayouts[i]);
    }
    for (const std::string& name : os::UserLayoutNames()) {
        m_layoutNames.push_back(name);
        m_layout.AddString(name);
    }
    // One no longer there, or none remembered, is the patch list.
    const auto found = std::find(m_layoutNames.begin(), m_layoutNames.end(), chosen);
    m_layout.SetCurSel(
        found == m_layoutNames.end() ? 0 : static_cast<int>(found - m_layoutNames.begin()));
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
    FillLayouts(ReadSetting(kSection, kLayoutKey, ""));
    return true;
}

void CReportDlg::OnOK() {
    // Whole paths, so that the settings name the same files at the next start, from any
    // folder; the fields keep what was typed.
    const std::string pcgPath = os::WholePath(m_pcgFile.GetWindowText());
    const std::string reportPath = os::WholePath(m_reportFile.GetWindowText());
    const int chosen = m_layout.GetCurSel();
    const std::string layout = m_layoutNames.at(chosen < 0 ? 0 : static_cast<std::size_t>(chosen));
    const GenerateOutcome outcome =
        GenerateReportFromTemplate(TemplateOf(layout), pcgPath, reportPath);
    if (outcome.succeeded && CanRemember(layout)) {
        // All three or none, in one replacement of the file: a value the file cannot hold (a
        // line break in a file name) must not pair the others with one of another run.
        WriteSettings(kSection,
                      {{kReportKey, reportPath}, {kPcgKey, pcgPath}, {kLayoutKey, layout}});
    }
    const unsigned icon =
        outcome.icon == OutcomeIcon::Warning ? MB_ICONEXCLAMATION : MB_ICONINFORMATION;
    const std::string details =
        outcome.succeeded
            ? reportPath
            : ReasonText(outcome.reason, [](std::string_view name) { return std::string(name); });
    AfxMessageBox(outcome.message, MB_OK | icon, 0, details);
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
    dialog.m_ofn.lpstrInitialDir = ui::FolderOfPath(os::WholePath(m_pcgFile.GetWindowText()));
    if (dialog.DoModal() == IDOK) {
        m_pcgFile.SetWindowText(dialog.GetPathName());
    }
}

void CReportDlg::OnBrowseReport() {
    // Nothing is created here: the report is written only by Generate.
    CFileDialog dialog(false, ".TXT", nullptr, OFN_OVERWRITEPROMPT,
                       "HTML Files (*.htm)|*.htm|All Files (*.*)|*.*||", this);
    dialog.m_ofn.lpstrInitialDir = ui::FolderOfPath(os::WholePath(m_reportFile.GetWindowText()));
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
