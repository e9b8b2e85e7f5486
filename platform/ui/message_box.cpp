// SPDX-License-Identifier: MIT
#include "platform/ui/message_box.h"

#include <QMessageBox>

#include "platform/ui/accessible_windows.h"
#include "platform/ui/seam_state.h"
#include "res/resource.h"

namespace {

ui::SeamState<int, ShownMessageBox>& Seam() {
    static ui::SeamState<int, ShownMessageBox> state;
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
                   unsigned type, const std::string& details) {
    if (const auto answer = Seam().Take({text, caption, type, owner, details})) {
        return *answer;
    }
    ui::UseOurAccessibleInterfaces();
    const bool withCancel = (type & 0x0F) == MB_OKCANCEL;
    QMessageBox box(IconOf(type), QString::fromLocal8Bit(caption), QString::fromLocal8Bit(text),
                    withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    if (!details.empty()) {
        box.setDetailedText(QString::fromLocal8Bit(details));
    }
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok || !withCancel ? IDOK : IDCANCEL;
}

}  // namespace ui

void MessageBoxSeam::QueueAnswer(int answer) {
    Seam().QueueAnswer(answer);
}

void MessageBoxSeam::Record() {
    Seam().StartRecording();
}

const std::vector<ShownMessageBox>& MessageBoxSeam::Shown() {
    return Seam().Requests();
}

void MessageBoxSeam::Reset() {
    Seam().Reset();
}
