// SPDX-License-Identifier: MIT
#include "platform/ui/combo_box.h"

#include <QComboBox>
#include <QPointer>

struct CComboBox::Impl {
    QPointer<QComboBox> control;
};

CComboBox::CComboBox() : d(std::make_unique<Impl>()) {}

CComboBox::~CComboBox() = default;

int CComboBox::AddString(const std::string& text) {
    if (!d->control) {
        return -1;
    }
    d->control->addItem(QString::fromLocal8Bit(text));
    return d->control->count() - 1;
}

void CComboBox::ResetContent() {
    if (d->control) {
        d->control->clear();
    }
}

int CComboBox::GetCount() const {
    return d->control ? d->control->count() : 0;
}

int CComboBox::GetCurSel() const {
    return d->control ? d->control->currentIndex() : -1;
}

bool CComboBox::SetCurSel(int index) {
    if (!d->control || index < -1 || index >= d->control->count()) {
        return false;
    }
    d->control->setCurrentIndex(index);
    return true;
}

std::string CComboBox::GetLBText(int index) const {
    return d->control ? d->control->itemText(index).toLocal8Bit().toStdString() : std::string();
}

void CComboBox::Attach(QComboBox* control) {
    d->control = control;
}

QComboBox* CComboBox::Widget() const {
    return d->control.data();
}
