// SPDX-License-Identifier: MIT
#include "platform/ui/dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/combo_box.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/edit.h"
#include "platform/ui/win_app.h"

namespace {

// Dialogs running modally, innermost last.
std::vector<CDialog*>& ModalDialogs() {
    static std::vector<CDialog*> dialogs;
    return dialogs;
}

}  // namespace

struct CDialog::Impl {
    int templateId = 0;
    CDialog* owner = nullptr;
    DialogWindow* window = nullptr;
    bool inModalLoop = false;
    std::optional<int> earlyResult;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
};

namespace {

// Binds `control` to the dialog's control `id` when that is a `Widget`.
template <typename Widget, typename Control>
void Bind(CDataExchange* pDX, int id, Control& control, const char* kind) {
    auto* widget = qobject_cast<Widget*>(pDX->m_pDlgWnd->ControlWidget(id));
    if (!widget) {
        qWarning("DDX_Control: control %d of dialog %d is not %s", id, pDX->m_pDlgWnd->TemplateId(),
                 kind);
        return;
    }
    if (control.Widget() != widget) {
        control.Attach(widget);
    }
}

}  // namespace

void DDX_Control(CDataExchange* pDX, int id, CEdit& control) {
    Bind<QLineEdit>(pDX, id, control, "an edit control");
}

void DDX_Control(CDataExchange* pDX, int id, CComboBox& control) {
    Bind<QComboBox>(pDX, id, control, "a drop-down list");
}

CDialog::CDialog(int templateId, CDialog* pParentWnd) : d(std::make_unique<Impl>()) {
    d->templateId = templateId;
    d->owner = pParentWnd;
}

CDialog::~CDialog() {
    auto& dialogs = ModalDialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), this), dialogs.end());
}

int CDialog::DoModal() {
    const res::DialogTemplate* tmpl = res::FindDialogTemplate(d->templateId);
    if (!tmpl || d->window) {
        return -1;
    }
    QWidget* owner = OwnerWindowFor(d->owner, this);

    auto window = std::make_unique<DialogWindow>(*this, *tmpl, owner);
    d->window = window.get();
    d->earlyResult.reset();
    if (HICON icon = d->bigIcon ? d->bigIcon : d->smallIcon) {
        window->setWindowIcon(ui::ToQIcon(icon));
    }
    ModalDialogs().push_back(this);

    if (OnInitDialog()) {
        window->FocusFirstTabStop();
    }
    int result = 0;
    if (d->earlyResult) {
        result = *d->earlyResult;
    } else {
        window->PlaceCentred(owner);
        d->inModalLoop = true;
        result = window->exec();
        d->inModalLoop = false;
    }

    auto& dialogs = ModalDialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), this), dialogs.end());
    d->window = nullptr;
    return result;
}

void CDialog::EndDialog(int result) {
    if (!d->window) {
        return;
    }
    if (d->inModalLoop) {
        d->window->done(result);
    } else {
        d->earlyResult = result;
    }
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return true;
}

int CDialog::TemplateId() const {
    return d->templateId;
}

void CDialog::SetIcon(HICON icon, bool bigIcon) {
    (bigIcon ? d->bigIcon : d->smallIcon) = icon;
    if (d->window) {
        d->window->setWindowIcon(ui::ToQIcon(d->bigIcon ? d->bigIcon : d->smallIcon));
    }
}

HICON CDialog::GetIcon(bool bigIcon) const {
    return bigIcon ? d->bigIcon : d->smallIcon;
}

CMenu* CDialog::GetSystemMenu(bool /*revert*/) {
    return nullptr;
}

bool CDialog::IsIconic() const {
    return d->window && d->window->isMinimized();
}

void CDialog::SendCommand(int id) {
    OnCommand(id);
}

void CDialog::SendSysCommand(unsigned id, long param) {
    OnSysCommand(id, param);
}

CDialog* CDialog::ActiveModal() {
    const auto& dialogs = ModalDialogs();
    return dialogs.empty() ? nullptr : dialogs.back();
}

QWidget* CDialog::OwnerWindowFor(const CDialog* owner, const CDialog* self) {
    if (owner && owner->Window()) {
        return owner->Window();
    }
    if (const CDialog* active = ActiveModal()) {
        return active->Window();
    }
    const CDialog* main = AfxGetMainWnd();
    return main && main != self ? main->Window() : nullptr;
}

CDialog* CDialog::FromWidget(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const auto* window = qobject_cast<const DialogWindow*>(w)) {
            for (CDialog* dialog : ModalDialogs()) {
                if (dialog->Window() == window) {
                    return dialog;
                }
            }
        }
    }
    return nullptr;
}

QDialog* CDialog::Window() const {
    return d->window;
}

QWidget* CDialog::ControlWidget(int id) const {
    return d->window ? d->window->ControlWidget(id) : nullptr;
}

QWidget* CDialog::ControlAt(int index) const {
    return d->window ? d->window->ControlAt(index) : nullptr;
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(int id) {
    switch (id) {
        case IDOK:
            OnOK();
            return true;
        case IDCANCEL:
            OnCancel();
            return true;
        default: {
            // Commands no dialog handles go on to the application, as menus' commands do.
            CWinApp* app = AfxGetApp();
            return app && app->OnCommand(id);
        }
    }
}

void CDialog::OnSysCommand(unsigned id, long /*param*/) {
    // The low four bits belong to the window system.
    switch (id & 0xFFF0) {
        case SC_CLOSE:
            SendCommand(IDCANCEL);
            break;
        case SC_MINIMIZE:
            if (d->window) {
                d->window->showMinimized();
            }
            break;
        case SC_RESTORE:
            if (d->window) {
                d->window->showNormal();
            }
            break;
        default:
            break;
    }
}
