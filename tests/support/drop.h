// SPDX-License-Identifier: MIT
// Drag and drop as a file manager or another program does it, synthesised for tests.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

class QWidget;

namespace support {

// What a drag carries: URLs (text/uri-list) and, when not null, plain text.
struct DragContent {
    QList<QUrl> urls;
    QString text;
};

// Drags `content` into the middle of `target` and drops it there. True when `target` accepted
// both the drag and the drop.
bool DropOn(QWidget* target, const DragContent& content);

}  // namespace support
