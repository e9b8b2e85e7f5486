// SPDX-License-Identifier: MIT
#include "platform/ui/help_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>

#include "platform/ui/accessible_windows.h"
#include "platform/ui/help_browser.h"
#include "platform/ui/seam_state.h"
#include "platform/ui/window_placement.h"

namespace {

ui::SeamState<bool, HelpRequest>& Seam() {
    static ui::SeamState<bool, HelpRequest> state;
    return state;
}

QPointer<QWidget>& HelpWindow() {
    static QPointer<QWidget> window;
    return window;
}

bool IsReadable(const QString& path) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

bool IsShown(const QWidget* owner) {
    return owner && owner->isVisible() && owner->screen();
}

// The frame around a window's client area. It is not there before the window shows; the
// owner's is the best guess.
QSize FrameExtra(const QWidget* owner) {
    return IsShown(owner) ? owner->frameGeometry().size() - owner->size() : QSize(0, 0);
}

// Its usual size, made smaller as far as needed for the window and its frame to fit on the
// work area of the owner's screen (at a large scale, say).
QSize FittingSize(const QWidget* owner) {
    constexpr QSize kUsual(560, 480);
    const QScreen* screen = IsShown(owner) ? owner->screen() : QGuiApplication::primaryScreen();
    return screen ? kUsual.boundedTo(screen->availableGeometry().size() - FrameExtra(owner))
                  : kUsual;
}

// Beside the owner rather than over it, so that the dialog the help is about stays in view.
void PlaceBeside(QWidget* window, const QWidget* owner) {
    if (!IsShown(owner)) {
        return;
    }
    const QRect work = owner->screen()->availableGeometry();
    const QRect beside = owner->frameGeometry();
    const QSize frame = window->size() + FrameExtra(owner);
    const ui::Point at = ui::BesidePosition(
        frame.width(), frame.height(), {beside.x(), beside.y(), beside.width(), beside.height()},
        {work.x(), work.y(), work.width(), work.height()}, 8);
    window->move(at.x, at.y);
}

// A main window, which screen readers know as an application's window, titled. Its frame is
// known only once the window manager has framed it, and may be larger than the owner's, from
// which its size was reckoned (a resizable window has grips of its own): if the window does not
// fit on the work area then, it is made to.
class HelpMainWindow : public QMainWindow {
public:
    explicit HelpMainWindow(QWidget* owner) : QMainWindow(owner, Qt::Window) {}

protected:
    bool event(QEvent* event) override {
        const bool handled = QMainWindow::event(event);
        switch (event->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowActivate:
                FitOnceFramed();
                break;
            default:
                break;
        }
        return handled;
    }

private:
    void FitOnceFramed() {
        const QMargins margins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
        if (m_framed || !isVisible() || margins.isNull() || !screen()) {
            return;
        }
        m_framed = true;
        const QRect work = screen()->availableGeometry();
        if (work.contains(frameGeometry())) {
            return;
        }
        const QSize extra(margins.left() + margins.right(), margins.top() + margins.bottom());
        resize(size().boundedTo(work.size() - extra));
        const QSize frame = size() + extra;
        // A window's position is that of its frame.
        move(std::max(std::min(x(), work.x() + work.width() - frame.width()), work.x()),
             std::max(std::min(y(), work.y() + work.height() - frame.height()), work.y()));
    }

    bool m_framed = false;
};

// A parentless window would be blocked by the modal dialog that asked for help, so the help
// window belongs to that dialog and is rebuilt when a request comes from another one.
QWidget* HelpWindowFor(QWidget* owner) {
    QPointer<QWidget>& window = HelpWindow();
    if (window && window->parentWidget() == owner) {
        return window;
    }
    delete window.data();
    ui::UseOurAccessibleInterfaces();
    auto* main = new HelpMainWindow(owner);
    window = main;
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->setObjectName("helpWindow");
    auto* browser = new ui::HelpBrowser(main);
    browser->setObjectName("helpBrowser");
    browser->setOpenExternalLinks(true);
    main->setCentralWidget(browser);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), main);
    QObject::connect(close, &QShortcut::activated, main, &QWidget::close);
    main->resize(FittingSize(owner));
    PlaceBeside(main, owner);
    return main;
}

}  // namespace

namespace ui {

std::string HelpAnchorName(unsigned long topic) {
    char name[24];
    std::snprintf(name, sizeof name, "0x%lx", topic);
    return name;
}

bool ShowHelpTopic(QWidget* owner, const std::string& helpFile, unsigned long topic,
                   const std::string& title) {
    if (const auto launched = Seam().Take({helpFile, topic, owner})) {
        return *launched;
    }
    const QString path = QString::fromLocal8Bit(helpFile);
    if (!IsReadable(path)) {
        return false;
    }
    QWidget* window = HelpWindowFor(owner);
    window->setWindowTitle(QString::fromLocal8Bit(title));
    auto* browser = window->findChild<QTextBrowser*>("helpBrowser");
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (topic != 0) {
        url.setFragment(QString::fromStdString(HelpAnchorName(topic)));
    }
    window->show();
    // Shown first, so that the page is laid out at its real width when it scrolls.
    browser->clearHistory();
    browser->setSource(QUrl());
    browser->setSource(url, QTextDocument::HtmlResource);
    window->raise();
    window->activateWindow();
    return true;
}

QWidget* OpenHelpWindow() {
    return HelpWindow().data();
}

}  // namespace ui

void HelpSeam::QueueAnswer(bool launched) {
    Seam().QueueAnswer(launched);
}

const std::vector<HelpRequest>& HelpSeam::Requests() {
    return Seam().Requests();
}

void HelpSeam::Reset() {
    Seam().Reset();
}
