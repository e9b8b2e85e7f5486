// SPDX-License-Identifier: MIT
#include "platform/ui/dialog_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "platform/ui/accessible_windows.h"
#include "platform/ui/dialog.h"
#include "platform/ui/reading_order.h"
#include "platform/ui/win_app.h"
#include "platform/ui/window_placement.h"

namespace {

ui::PixelRect ToPixelRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

// The frame margins the window manager gave the last window it framed in this run.
QMargins& LastFrameMargins() {
    static QMargins margins;
    return margins;
}

// The frame around `window`'s client area, once the window manager has framed it.
QMargins FrameMarginsOf(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle && window->isVisible() ? handle->frameMargins() : QMargins();
}

// Frame thickness around the client area: the window's own once the window manager has framed
// it; until then taken from another window that has one, else from the last framed window.
QSize FrameExtra(const QWidget* window, const QWidget* owner) {
    const QMargins own = FrameMarginsOf(window);
    if (!own.isNull()) {
        return {own.left() + own.right(), own.top() + own.bottom()};
    }
    if (owner && owner->isVisible()) {
        return owner->frameGeometry().size() - owner->size();
    }
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && other->frameGeometry() != other->geometry()) {
            return other->frameGeometry().size() - other->size();
        }
    }
    const QMargins last = LastFrameMargins();
    return {last.left() + last.right(), last.top() + last.bottom()};
}

QChar KeyCharacter(const QKeyEvent* event) {
    const int key = event->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return QChar(key).toLower();
    }
    return event->text().size() == 1 ? event->text()[0].toLower() : QChar();
}

}  // namespace

DialogWindow::DialogWindow(CDialog& dialog, const res::DialogTemplate& tmpl, QWidget* owner)
    : QDialog(owner, ui::DialogWindowFlags(tmpl, owner != nullptr)), m_dialog(dialog) {
    ui::UseOurAccessibleInterfaces();
    setWindowTitle(QString::fromLocal8Bit(tmpl.caption));
    setFont(ui::DialogFont(tmpl));
    const ui::BaseUnits base = ui::BaseUnitsOf(font());
    setFixedSize(ui::DialogUnitsToPixelsX(tmpl.width, base),
                 ui::DialogUnitsToPixelsY(tmpl.height, base));
    setSizeGripEnabled(false);
    m_controls = ui::BuildControls(this, tmpl, base);
    for (const std::size_t index : ui::ReadingOrder(tmpl.controls)) {
        m_readingOrder.push_back(m_controls[index].widget);
    }
    for (const ui::BuiltControl& control : m_controls) {
        if (auto* button = qobject_cast<QPushButton*>(control.widget)) {
            const int id = control.source->id;
            connect(button, &QPushButton::clicked, this, [this, id] { m_dialog.SendCommand(id); });
            button->installEventFilter(this);
        }
    }
}

QWidget* DialogWindow::ControlWidget(int id) const {
    for (const ui::BuiltControl& control : m_controls) {
        if (control.source->id == id) {
            return control.widget;
        }
    }
    return nullptr;
}

QWidget* DialogWindow::ControlAt(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < m_controls.size()
               ? m_controls[static_cast<std::size_t>(index)].widget
               : nullptr;
}

void DialogWindow::FocusFirstTabStop() {
    for (const ui::BuiltControl& control : m_controls) {
        if ((control.widget->focusPolicy() & Qt::TabFocus) && control.widget->isEnabled()) {
            control.widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void DialogWindow::PlaceCentred(QWidget* owner) {
    m_centredOver = owner;
    m_awaitingFrame = FrameMarginsOf(this).isNull();
    const QSize frame = size() + FrameExtra(this, owner);
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    std::optional<ui::PixelRect> over;
    if (owner && owner->isVisible() && !owner->isMinimized()) {
        over = ToPixelRect(owner->frameGeometry());
    }
    const ui::Point at = ui::CenteredPosition(frame.width(), frame.height(), over,
                                              ToPixelRect(screen->availableGeometry()));
    // A window's position is that of its frame.
    move(at.x, at.y);
    m_placedAt = pos();
}

void DialogWindow::RecentreOnceFramed() {
    if (!m_awaitingFrame) {
        return;
    }
    const QMargins margins = FrameMarginsOf(this);
    if (margins.isNull()) {
        return;
    }
    m_awaitingFrame = false;
    LastFrameMargins() = margins;
    // Unless the user has moved it meanwhile, or the window manager placed it by rules of its
    // own. Some managers put the client area, not the frame, where they were asked to.
    if (pos() == m_placedAt || geometry().topLeft() == m_placedAt) {
        PlaceCentred(m_centredOver);
    }
}

bool DialogWindow::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    switch (event->type()) {
        // The frame is known once the window manager has framed the window, which it reports
        // with a move of the client area into its frame.
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
            RecentreOnceFramed();
            break;
        default:
            break;
    }
    return handled;
}

void DialogWindow::reject() {
    m_dialog.SendCommand(IDCANCEL);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
        case Qt::Key_F1:
            if (modifiers == Qt::NoModifier) {
                CDialog* main = AfxGetMainWnd();
                (main ? main : &m_dialog)->SendCommand(ID_HELP);
                return;
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (modifiers == Qt::NoModifier) {
                PressDefaultButton();
                return;
            }
            break;
        case Qt::Key_Escape:
            if (modifiers == Qt::NoModifier) {
                m_dialog.SendCommand(IDCANCEL);
                return;
            }
            break;
        default:
            if ((modifiers == Qt::NoModifier || modifiers == Qt::AltModifier) &&
                UseAccessKey(KeyCharacter(event))) {
                return;
            }
            break;
    }
    QDialog::keyPressEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close box, Alt+F4 and the window menu's Close all arrive here; the dialog decides.
    event->ignore();
    m_dialog.SendSysCommand(SC_CLOSE);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    // With no control starting a group, the arrow keys walk all controls in template order.
    switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            MoveFocusAmongControls(static_cast<QWidget*>(watched), false);
            return true;
        case Qt::Key_Down:
        case Qt::Key_Right:
            MoveFocusAmongControls(static_cast<QWidget*>(watched), true);
            return true;
        default:
            return false;
    }
}

void DialogWindow::PressDefaultButton() {
    for (const ui::BuiltControl& control : m_controls) {
        auto* button = qobject_cast<QPushButton*>(control.widget);
        if (button && button->isDefault() && button->isVisible()) {
            if (button->isEnabled()) {
                button->click();
            }
            return;
        }
    }
    m_dialog.SendCommand(IDOK);
}

bool DialogWindow::UseAccessKey(QChar key) {
    if (key.isNull()) {
        return false;
    }
    for (const ui::BuiltControl& control : m_controls) {
        if (control.accessKey != key || !control.target || !control.target->isEnabled()) {
            continue;
        }
        if (control.target == control.widget) {
            if (auto* button = qobject_cast<QPushButton*>(control.widget)) {
                button->animateClick();
                return true;
            }
        }
        control.target->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return false;
}

void DialogWindow::MoveFocusAmongControls(QWidget* from, bool forward) {
    std::vector<QWidget*> stops;
    std::size_t current = 0;
    for (const ui::BuiltControl& control : m_controls) {
        // A drop-down list takes the arrow keys for its own items: the walk passes it by.
        if (ui::CanTakeFocus(*control.source) &&
            control.source->kind != res::ControlKind::DropDownList && control.widget->isEnabled() &&
            control.widget->isVisible()) {
            if (control.widget == from) {
                current = stops.size();
            }
            stops.push_back(control.widget);
        }
    }
    if (stops.size() < 2) {
        return;
    }
    const std::size_t next =
        forward ? (current + 1) % stops.size() : (current + stops.size() - 1) % stops.size();
    stops[next]->setFocus(Qt::TabFocusReason);
}
