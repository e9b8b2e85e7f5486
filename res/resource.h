// SPDX-License-Identifier: MIT
// Numeric ids of the dialogs, controls, commands, strings and the icon.
#pragma once

// Dialogs.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_REPORT_DIALOG = 102;

// Strings.
inline constexpr int IDS_ABOUTBOX = 101;

// The application icon.
inline constexpr int IDR_MAINFRAME = 128;

// Controls of the main dialog.
inline constexpr int IDC_BROWSE_PCG = 1000;
inline constexpr int IDC_BROWSE_REPORT = 1002;
inline constexpr int IDC_PCG_FILE = 1003;
inline constexpr int IDC_REPORT_FILE = 1004;
inline constexpr int IDC_EXIT = 1005;
inline constexpr int IDC_ABOUT = 1006;
inline constexpr int IDC_LAYOUT = 1007;  // the report's layout, beside Generate

// Command ids every dialog understands, and the id of controls nobody addresses.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_STATIC = -1;

// The About item of the system menu. Its low four bits are zero because the window system
// uses them itself, and it lies below 0xF000 where the system's own commands start.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
