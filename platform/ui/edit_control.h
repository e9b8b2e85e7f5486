// SPDX-License-Identifier: MIT
// The toolkit widget behind every edit control of a dialog: a line edit that takes a file
// dropped on it from a file manager as its path.
#pragma once

#include <QLineEdit>
#include <QString>

class QMimeData;

namespace ui {

// What a drop on an edit control does.
struct EditDrop {
    enum Kind {
        InsertText,       // no URL: the text goes in where it is dropped, as typed text would
        ReplaceWithPath,  // the first URL names a file on this machine: it replaces the text
        Refuse,           // the first URL names anything else: nothing changes
    };
    Kind kind;
    QString path;  // for ReplaceWithPath: the path's bytes as the field shows them
};

// Classifies what `mime` carries. A URL names a file on this machine when its scheme is "file"
// and its host is empty or "localhost". The path is percent-decoded to bytes and read in the
// locale's encoding, as edit controls read paths, so those bytes come back unchanged.
EditDrop EditDropFor(const QMimeData* mime);

class EditControl : public QLineEdit {
public:
    explicit EditControl(QWidget* parent);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool AnswerDrag(QDropEvent* event);
};

}  // namespace ui
