// SPDX-License-Identifier: MIT
#include "support/drop.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace support {

bool DropOn(QWidget* target, const DragContent& content) {
    QMimeData mime;
    if (!content.urls.isEmpty()) {
        mime.setUrls(content.urls);
    }
    if (!content.text.isNull()) {
        mime.setText(content.text);
    }
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return move.isAccepted() && drop.isAccepted();
}

}  // namespace support
