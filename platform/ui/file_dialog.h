// SPDX-License-Identifier: MIT
// CFileDialog: the open-file and save-file dialogs, and the seam through which tests answer
// them.
#pragma once

#include <memory>
#include <string>
#include <vector>

class CDialog;
class QWidget;

// Options of the file dialogs. Those the toolkit has no use for are accepted and ignored.
inline constexpr unsigned long OFN_READONLY = 0x00000001;
inline constexpr unsigned long OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr unsigned long OFN_HIDEREADONLY = 0x00000004;
inline constexpr unsigned long OFN_NOCHANGEDIR = 0x00000008;
inline constexpr unsigned long OFN_ENABLEHOOK = 0x00000020;
inline constexpr unsigned long OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr unsigned long OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr unsigned long OFN_EXPLORER = 0x00080000;
inline constexpr unsigned long OFN_ENABLESIZING = 0x00800000;

// What callers may set on a file dialog between its construction and DoModal, under the names
// of the platform's dialog description.
struct OPENFILENAME {
    // The folder the dialog opens in; relative paths are taken from the working folder. When it
    // is empty or names no existing folder, the dialog opens in the folder the last file dialog
    // of this run ended in (still existing), else in the home folder.
    std::string lpstrInitialDir;
};

class CFileDialog {
public:
    // An open dialog (`openFileDialog`) or a save dialog. `defExt` (with or without its ".")
    // is appended to a name typed without an extension when the selected filter stands for no
    // single extension; `fileName` is the initial name; `filter` is a list in the form
    // "description|patterns|...||", whose first filter is selected. With no owner, the
    // innermost modal dialog (else the main window) owns it.
    explicit CFileDialog(bool openFileDialog, const char* defExt = nullptr,
                         const char* fileName = nullptr,
                         unsigned long flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* filter = nullptr, CDialog* pParentWnd = nullptr);
    virtual ~CFileDialog();
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // Shows the dialog modally. IDOK when the user chose a file, else IDCANCEL. An open dialog
    // accepts only an existing file; a name typed there without an extension is completed as a
    // save dialog would complete it, and when no file has the completed name but one differs
    // from it only in the case of its extension ("ALL.PCG" for "ALL.pcg"), that one is taken.
    // A save dialog asks before it lets the user choose an existing file when
    // OFN_OVERWRITEPROMPT is set, and refuses a missing folder when OFN_PATHMUSTEXIST is set.
    // Either way, the folder the dialog ends in (that of the chosen file, or the one shown when
    // it was cancelled) is where the next file dialog of this run opens by default.
    virtual int DoModal();

    // The full path of the chosen file, as 8-bit bytes; empty before a confirmed DoModal.
    std::string GetPathName() const;

    unsigned long Flags() const;

    OPENFILENAME m_ofn;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// A file dialog as the seam recorded it.
struct FileDialogRequest {
    bool open;
    std::string defaultExtension;
    std::string fileName;
    unsigned long flags;
    std::string filter;                    // as the program wrote it
    std::vector<std::string> nameFilters;  // as the toolkit shows them
    QWidget* owner;                        // for comparison only; it may be gone by now
    std::string initialFolder;             // where it opens: absolute
};

// Lets tests answer file dialogs without a window: once a test has queued an answer, every
// file dialog is recorded until Reset(), and one with an answer queued takes it instead of
// showing (the path is returned exactly as queued; a confirmed one counts as the folder the
// dialog ended in).
class FileDialogSeam {
public:
    static void QueueAnswer(int result, const std::string& path = {});
    static const std::vector<FileDialogRequest>& Requests();
    // Also forgets the folder the last file dialog ended in.
    static void Reset();
};
