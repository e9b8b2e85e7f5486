// SPDX-License-Identifier: MIT
#include "platform/ui/edit_control.h"

#include <QByteArray>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace ui {

namespace {

bool IsLocalFile(const QUrl& url) {
    const QString host = url.host();
    return url.scheme() == QLatin1String("file") &&
           (host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0);
}

}  // namespace

EditDrop EditDropFor(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().isEmpty()) {
        return {EditDrop::InsertText, {}};
    }
    const QUrl first = mime->urls().front();
    if (!IsLocalFile(first) || first.path().isEmpty()) {
        return {EditDrop::Refuse, {}};
    }
    // Not toLocalFile(): that decodes as UTF-8, and a path is whatever bytes the name holds.
    const QByteArray bytes =
        QByteArray::fromPercentEncoding(first.path(QUrl::FullyEncoded).toLatin1());
    return {EditDrop::ReplaceWithPath, QString::fromLocal8Bit(bytes)};
}

EditControl::EditControl(QWidget* parent) : QLineEdit(parent) {}

// Entering and moving over the field take the same answer: a local file is taken (it
// replaces the whole text, so there is no insertion point to show), anything but text is
// refused; text is left to the toolkit (false).
bool EditControl::AnswerDrag(QDropEvent* event) {
    const EditDrop drop = EditDropFor(event->mimeData());
    if (drop.kind == EditDrop::InsertText) {
        return false;
    }
    if (drop.kind == EditDrop::ReplaceWithPath && !isReadOnly()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
    return true;
}

void EditControl::dragEnterEvent(QDragEnterEvent* event) {
    if (!AnswerDrag(event)) {
        QLineEdit::dragEnterEvent(event);
    }
}

void EditControl::dragMoveEvent(QDragMoveEvent* event) {
    if (!AnswerDrag(event)) {
        QLineEdit::dragMoveEvent(event);
    }
}

void EditControl::dropEvent(QDropEvent* event) {
    const EditDrop drop = EditDropFor(event->mimeData());
    if (drop.kind == EditDrop::InsertText) {
        QLineEdit::dropEvent(event);
    } else if (drop.kind == EditDrop::ReplaceWithPath && !isReadOnly()) {
        // Through the undo stack, so that Ctrl+Z brings back what was there.
        selectAll();
        insert(drop.path);
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

}  // namespace ui
