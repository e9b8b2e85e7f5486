// SPDX-License-Identifier: MIT
// Linked into a program to time its start-up: the process ends the moment its first window
// has been painted, so timing the whole process times start-up to a dialog on screen.
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace {

class FirstPaintExit : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow()) {
                // Nothing after this point belongs to start-up, not even the clean-up.
                _exit(0);
            }
        }
        return false;
    }
};

void InstallFirstPaintExit() {
    QCoreApplication::instance()->installEventFilter(
        new FirstPaintExit(QCoreApplication::instance()));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallFirstPaintExit)
