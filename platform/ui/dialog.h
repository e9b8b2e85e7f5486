// SPDX-License-Identifier: MIT
// CDialog: a modal dialog built from a dialog template, with the dialog manager's keyboard
// rules, commands by control id, system commands and data exchange.
#pragma once

#include <memory>

#include "platform/ui/icon.h"
#include "res/resource.h"

class QDialog;
class QWidget;
class CDialog;
class CComboBox;
class CEdit;
class CMenu;

// System commands, as the window menu and the frame send them.
inline constexpr unsigned SC_SIZE = 0xF000;
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_MINIMIZE = 0xF020;
inline constexpr unsigned SC_MAXIMIZE = 0xF030;
inline constexpr unsigned SC_CLOSE = 0xF060;
inline constexpr unsigned SC_RESTORE = 0xF120;

// The direction and target of one data exchange.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;  // true: controls to members; false: members to controls
};

// Binds `control` to the dialog's edit control `id`, once per opening of the dialog. An id
// that names no edit control leaves `control` unbound (a programming error, reported once).
void DDX_Control(CDataExchange* pDX, int id, CEdit& control);
// The same for a drop-down list.
void DDX_Control(CDataExchange* pDX, int id, CComboBox& control);

class CDialog {
public:
    // A dialog from template `templateId`. With no owner, the dialog that is running modally
    // when it opens (else the application's main window, if that is open) owns it.
    explicit CDialog(int templateId, CDialog* pParentWnd = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Builds the window, runs it modally and destroys it again. Returns what EndDialog was
    // given, or -1 when the template does not exist or the dialog is already running.
    virtual int DoModal();

    // Ends the modal run with `result`; also allowed inside OnInitDialog.
    void EndDialog(int result);

    // Runs DoDataExchange: from the controls to the members when `saveAndValidate`.
    bool UpdateData(bool saveAndValidate = true);

    int TemplateId() const;

    // The window's icon; taken over by the window while it is open.
    void SetIcon(HICON icon, bool bigIcon);
    HICON GetIcon(bool bigIcon) const;

    // The window menu, to add items to. Window managers own that menu on this platform, so
    // there is none to change: always nullptr.
    CMenu* GetSystemMenu(bool revert);

    // True while the window is open and minimised.
    bool IsIconic() const;

    // Runs the command `id` as a click on that control would.
    void SendCommand(int id);
    // Runs a system command as the frame or the window menu would.
    void SendSysCommand(unsigned id, long param = 0);

    // The innermost dialog that is running modally, else nullptr.
    static CDialog* ActiveModal();
    // The window that a new window asked for by `owner` belongs to: `owner`'s while it is
    // open, else the innermost modal dialog's, else the main window's unless that is `self`;
    // nullptr when none of them is open.
    static QWidget* OwnerWindowFor(const CDialog* owner, const CDialog* self = nullptr);
    // The dialog whose window is, or holds, `widget`, else nullptr.
    static CDialog* FromWidget(const QWidget* widget);

    // For the toolkit and for tests: the window while the dialog runs, else nullptr.
    QDialog* Window() const;
    // The widget of the first control with id `id`, else nullptr.
    QWidget* ControlWidget(int id) const;
    // The widget of the control at `index` in template order, else nullptr.
    QWidget* ControlAt(int index) const;

protected:
    // Binds controls to members, or moves data between them. The default does nothing.
    virtual void DoDataExchange(CDataExchange* pDX);
    // Called once the controls exist and before the window shows; the default exchanges data
    // into the controls. True lets the first tab stop take the focus.
    virtual bool OnInitDialog();
    // The IDOK command. The default takes the data and ends the dialog with IDOK.
    virtual void OnOK();
    // The IDCANCEL command (also Esc and the close box). The default ends it with IDCANCEL.
    virtual void OnCancel();
    // A click on control `id` or the command `id`; returns true when handled. The default
    // sends IDOK to OnOK and IDCANCEL to OnCancel.
    virtual bool OnCommand(int id);
    // A system command. The default: SC_CLOSE runs IDCANCEL, SC_MINIMIZE and SC_RESTORE
    // minimise and restore; the rest does nothing on a fixed-size dialog.
    virtual void OnSysCommand(unsigned id, long param);

private:
    friend class DialogWindow;
    struct Impl;
    std::unique_ptr<Impl> d;
};
