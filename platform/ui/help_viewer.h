// SPDX-License-Identifier: MIT
// The help viewer: the help file (HTML) in a window of our own, opened at a topic.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace ui {

// The anchor that marks `topic` in the help file: the number in lower-case hexadecimal with
// a "0x" prefix, written in the file as <a name="0x20064"></a>.
std::string HelpAnchorName(unsigned long topic);

// Shows `helpFile` scrolled to the anchor of `topic` (0: the top) in the help window, which
// stays open beside `owner` (a window that may be modal; nullptr for none) and usable while it
// is open. One help window serves all requests. Returns false, and shows nothing, when the
// help file cannot be read. `title` is the window's title.
bool ShowHelpTopic(QWidget* owner, const std::string& helpFile, unsigned long topic,
                   const std::string& title);

// The help window while it is open, else nullptr.
QWidget* OpenHelpWindow();

}  // namespace ui

// A request for help, as the seam recorded it.
struct HelpRequest {
    std::string helpFile;
    unsigned long topic;
    QWidget* owner;  // for comparison only; it may be gone by now
};

// Lets tests check help requests without a window: once a test has queued an answer (true:
// the viewer started; false: it could not), requests are recorded until Reset() and queued
// answers are taken instead of opening the viewer.
class HelpSeam {
public:
    static void QueueAnswer(bool launched);
    static const std::vector<HelpRequest>& Requests();
    static void Reset();
};
