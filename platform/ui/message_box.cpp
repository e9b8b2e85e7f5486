// SPDX-License-Identifier: MIT
#include "platform/ui/message_box.h"

#include <QMessageBox>
#include <deque>

#include "res/resource.h"

namespace {

struct SeamState {
    bool recording = false;
    std::deque<int> answers;
    std::vector<ShownMessageBox> shown;
};

SeamState& Seam() {
    static SeamState state;
    return state;
}

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & 0xF0) {
        case MB_ICONSTOP:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

namespace ui {

int ShowMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                   unsigned type) {
    SeamState& seam = Seam();
    if (seam.recording) {
        seam.shown.push_back({text, caption, type, owner});
    }
    if (!seam.answers.empty()) {
        const int answer = seam.answers.front();
        seam.answers.pop_front();
        return answer;
    }
    const bool withCancel = (type & 0x0F) == MB_OKCANCEL;
    QMessageBox box(IconOf(type), QString::fromLocal8Bit(caption), QString::fromLocal8Bit(text),
                    withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Ok || !withCancel ? IDOK : IDCANCEL;
}

}  // namespace ui

void MessageBoxSeam::QueueAnswer(int answer) {
    Seam().recording = true;
    Seam().answers.push_back(answer);
}

void MessageBoxSeam::Record() {
    Seam().recording = true;
}

const std::vector<ShownMessageBox>& MessageBoxSeam::Shown() {
    return Seam().shown;
}

void MessageBoxSeam::Reset() {
    Seam() = SeamState();
}
