// SPDX-License-Identifier: MIT
// CWinApp: the application object. Owns the toolkit's application for one run, knows the
// title, the names derived from the executable and the main window, and serves message
// boxes and help.
#pragma once

#include <string>

#include "platform/ui/icon.h"
#include "platform/ui/message_box.h"

class CDialog;

// The Help command (F1), and how WinHelp is asked.
inline constexpr int ID_HELP = 0xE146;
inline constexpr unsigned HELP_CONTEXT = 0x0001;
inline constexpr unsigned HELP_FINDER = 0x000B;

// The help topics of dialogs: this base plus the dialog's resource id.
inline constexpr unsigned long HID_BASE_RESOURCE = 0x20000;

class CWinApp {
public:
    // There is one application object at a time; `appName` is the title and the caption of
    // every message box. The executable name and the help file path are derived here.
    explicit CWinApp(const char* appName);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the program: creates the toolkit's application, calls InitInstance and, only if it
    // returns true and a window is open, the event loop until the last window closes.
    // Once started, returns 0 however it ends. The command line is passed to the toolkit
    // only. Without a display to open windows on it does not start: it says so in one line on
    // standard error and ends the process with status 1 (see ui::StartToolkit).
    int Run(int argc, char** argv);

    // Start-up. The default does nothing and returns false (do not continue).
    virtual bool InitInstance();

    // Every message box of the program comes here: shown over the innermost modal dialog
    // (else the main window), captioned with the title, with the details that AfxMessageBox
    // was given for it, if any. Returns IDOK or IDCANCEL.
    virtual int DoMessageBox(const std::string& prompt, unsigned type, unsigned helpId);

    // Commands that no dialog handled. The default runs ID_HELP as OnHelp.
    virtual bool OnCommand(int id);

    // The Help command: asks for the topic of the dialog that holds the keyboard focus.
    void OnHelp();

    // Opens the help file at the topic `data` (HELP_CONTEXT) or at its start (HELP_FINDER).
    // If the viewer cannot show it, says "Failed to launch help." in a warning box.
    void WinHelp(unsigned long data, unsigned command = HELP_CONTEXT);

    // The icon resource `resourceId` (see LoadIconResource).
    HICON LoadIcon(int resourceId) const;

    const std::string& AppName() const { return m_appName; }
    // The running executable's name without folders or extension.
    const std::string& ExeName() const { return m_exeName; }
    // The executable's full path with the extension ".HLP".
    const std::string& HelpFilePath() const { return m_helpFilePath; }
    void SetHelpFilePath(const std::string& path) { m_helpFilePath = path; }
    // The desktop entry the program's windows belong to (without ".desktop"); none when empty.
    void SetDesktopEntry(const std::string& id) { m_desktopEntry = id; }

    CDialog* GetMainWnd() const { return m_mainWnd; }
    void SetMainWnd(CDialog* window) { m_mainWnd = window; }

private:
    friend int AfxMessageBox(const std::string&, unsigned, unsigned, const std::string&);
    std::string m_messageDetails;  // for the box DoMessageBox shows next

    std::string m_appName;
    std::string m_exeName;
    std::string m_helpFilePath;
    std::string m_desktopEntry;
    CDialog* m_mainWnd = nullptr;
};

// The application object, or nullptr when there is none.
CWinApp* AfxGetApp();

// The application's main window, or nullptr.
CDialog* AfxGetMainWnd();

// Shows a message box through the application object (its DoMessageBox); `details` (8-bit,
// in the locale's encoding) are shown when the user asks for them.
int AfxMessageBox(const std::string& text, unsigned type = MB_OK, unsigned helpId = 0,
                  const std::string& details = {});
