// SPDX-License-Identifier: MIT
#include "platform/ui/edit.h"

#include <QLineEdit>
#include <QPointer>

struct CEdit::Impl {
    QPointer<QLineEdit> control;
};

CEdit::CEdit() : d(std::make_unique<Impl>()) {}

CEdit::~CEdit() = default;

std::string CEdit::GetWindowText() const {
    return d->control ? d->control->text().toLocal8Bit().toStdString() : std::string();
}

void CEdit::SetWindowText(const std::string& text) {
    if (d->control) {
        d->control->setText(QString::fromLocal8Bit(text));
    }
}

void CEdit::Attach(QLineEdit* control) {
    d->control = control;
}

QLineEdit* CEdit::Widget() const {
    return d->control.data();
}
