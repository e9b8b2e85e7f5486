// SPDX-License-Identifier: MIT
// Message boxes, and the seam through which tests answer them.
#pragma once

#include <string>
#include <vector>

class QWidget;

// Buttons (low four bits) and icon (next four bits) of a message box.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_OKCANCEL = 0x01;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONERROR = MB_ICONSTOP;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_ICONASTERISK = MB_ICONINFORMATION;

namespace ui {

// Shows `text` (8-bit, in the locale's encoding) modally over `owner` (may be nullptr) with
// `caption` as its title, the buttons and icon of `type`, and waits for the user. Returns IDOK
// or IDCANCEL. The text is shown as it is: no markup, no access keys. Non-empty `details` are
// kept behind a "Show Details..." button, OK staying the button Enter presses.
int ShowMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                   unsigned type, const std::string& details = {});

}  // namespace ui

// What a message box showed, as the seam recorded it.
struct ShownMessageBox {
    std::string text;
    std::string caption;
    unsigned type;
    QWidget* owner;  // for comparison only; it may be gone by now
    std::string details;
};

// Lets tests answer message boxes without a window. Once a test has queued an answer or asked
// to record, every box is recorded until Reset(); a box with an answer queued takes it instead
// of showing, and one without shows for real.
class MessageBoxSeam {
public:
    static void QueueAnswer(int answer);
    static void Record();
    static const std::vector<ShownMessageBox>& Shown();
    // Forgets answers and records and stops recording.
    static void Reset();
};
