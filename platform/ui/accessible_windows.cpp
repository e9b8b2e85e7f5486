// SPDX-License-Identifier: MIT
#include "platform/ui/accessible_windows.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFrame>
#include <QMessageBox>
#include <algorithm>
#include <vector>

#include "platform/ui/dialog_window.h"
#include "platform/ui/filled_rect.h"
#include "platform/ui/help_accessible.h"
#include "platform/ui/help_browser.h"

namespace ui {

namespace {

bool BlocksItsOwner(const QWidget* window) {
    return window->isWindow() && window->isModal() && window->parentWidget() != nullptr;
}

class DialogAccessible : public QAccessibleWidget {
public:
    explicit DialogAccessible(QWidget* dialog, QAccessible::Role role = QAccessible::Dialog)
        : QAccessibleWidget(dialog, role) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.modal = BlocksItsOwner(widget());
        return state;
    }
};

// As the toolkit presents message boxes (an alert titled by its caption, the message as its
// value), and modal.
class MessageBoxAccessible : public DialogAccessible {
public:
    explicit MessageBoxAccessible(QMessageBox* box)
        : DialogAccessible(box, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text kind) const override {
        const auto* box = static_cast<const QMessageBox*>(widget());
        switch (kind) {
            case QAccessible::Name: {
                const QString caption = QAccessibleWidget::text(kind);
                return caption.isEmpty() ? box->text() : caption;
            }
            case QAccessible::Value:
                return box->text();
            case QAccessible::Help:
                return box->informativeText();
            default:
                return QAccessibleWidget::text(kind);
        }
    }
};

// A dialog built from a template: its controls in reading order, then anything else the
// toolkit put into the window.
class TemplateDialogAccessible : public DialogAccessible {
public:
    explicit TemplateDialogAccessible(DialogWindow* dialog) : DialogAccessible(dialog) {}

    int childCount() const override { return static_cast<int>(Children().size()); }

    QAccessibleInterface* child(int index) const override {
        const std::vector<QObject*> children = Children();
        return index >= 0 && static_cast<std::size_t>(index) < children.size()
                   ? QAccessible::queryAccessibleInterface(
                         children[static_cast<std::size_t>(index)])
                   : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QObject*> children = Children();
        const auto found =
            std::find(children.begin(), children.end(), child ? child->object() : nullptr);
        return found == children.end() ? -1 : static_cast<int>(found - children.begin());
    }

private:
    std::vector<QObject*> Children() const {
        std::vector<QObject*> stacked;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            if (QAccessibleInterface* child = QAccessibleWidget::child(i)) {
                stacked.push_back(child->object());
            }
        }
        std::vector<QObject*> children;
        for (QWidget* control : static_cast<DialogWindow*>(widget())->ControlsInReadingOrder()) {
            if (std::find(stacked.begin(), stacked.end(), control) != stacked.end()) {
                children.push_back(control);
            }
        }
        for (QObject* other : stacked) {
            if (std::find(children.begin(), children.end(), other) == children.end()) {
                children.push_back(other);
            }
        }
        return children;
    }
};

bool Is(const QString& className, const QMetaObject& type) {
    return className == QLatin1String(type.className());
}

// Asked for each class of an object from the most derived up, before the toolkit's own views.
QAccessibleInterface* OurInterfaceFor(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (Is(className, DialogWindow::staticMetaObject)) {
        return new TemplateDialogAccessible(static_cast<DialogWindow*>(widget));
    }
    if (Is(className, QMessageBox::staticMetaObject)) {
        return new MessageBoxAccessible(static_cast<QMessageBox*>(widget));
    }
    if (Is(className, QDialog::staticMetaObject)) {
        return new DialogAccessible(widget);
    }
    if (Is(className, FilledRect::staticMetaObject)) {
        return new QAccessibleWidget(widget, QAccessible::Separator);
    }
    if (Is(className, HelpBrowser::staticMetaObject)) {
        return NewHelpDocumentAccessible(static_cast<HelpBrowser*>(widget));
    }
    // A rule drawn as a plain frame (the line above a message box's details) is a separator,
    // not a window inside the window.
    if (Is(className, QFrame::staticMetaObject)) {
        const auto shape = static_cast<QFrame*>(widget)->frameShape();
        if (shape == QFrame::HLine || shape == QFrame::VLine) {
            return new QAccessibleWidget(widget, QAccessible::Separator);
        }
    }
    return nullptr;
}

}  // namespace

void UseOurAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(OurInterfaceFor);
        return true;
    }();
    (void)installed;
}

}  // namespace ui
