// SPDX-License-Identifier: MIT
#include "support/modal_driver.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "platform/ui/file_dialog.h"
#include "platform/ui/help_viewer.h"
#include "platform/ui/message_box.h"
#include "platform/ui/win_app.h"

namespace support {

namespace {

constexpr int kTickMs = 10;
constexpr int kGiveUpTicks = 500;
// A window still open this long after the last step is left over from a broken test.
constexpr int kLeftOpenTicks = 50;

}  // namespace

ModalDriver::ModalDriver(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
    m_timer.start(kTickMs);
}

ModalDriver& ModalDriver::Then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
}

void ModalDriver::CloseAllModals() {
    for (int guard = 0; guard < 20; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            return;
        }
        modal->close();
        if (QApplication::activeModalWidget() == modal) {
            // A window that refuses to close (or a dialog whose close was intercepted) goes by
            // hiding, which ends its event loop too.
            modal->hide();
        }
    }
}

void ModalDriver::Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible() && !m_steps.empty()) {
        if (m_stepStarting) {
            return;
        }
        // Run from a timer of its own, so that this one keeps ticking while the step waits
        // in a nested modal window.
        m_stepStarting = true;
        QTimer::singleShot(
            0, this, [this, step = std::move(m_steps.front()), target = QPointer<QWidget>(modal)] {
                m_stepStarting = false;
                if (target) {
                    step(target);
                }
            });
        m_steps.pop_front();
        m_idleTicks = 0;
        return;
    }
    if (++m_idleTicks >= kGiveUpTicks ||
        (m_steps.empty() && modal && m_idleTicks > kLeftOpenTicks)) {
        CloseAllModals();
        m_idleTicks = 0;
    }
}

void ModalTestScope::Begin(QObject* owner) {
    m_scope = new QObject(owner);
}

void ModalTestScope::End() {
    ModalDriver::CloseAllModals();
    delete m_scope;
    m_scope = nullptr;
    if (CWinApp* app = AfxGetApp()) {
        app->SetMainWnd(nullptr);
    }
    MessageBoxSeam::Reset();
    FileDialogSeam::Reset();
    HelpSeam::Reset();
}

}  // namespace support
