// SPDX-License-Identifier: MIT
// Drives modal windows from tests: steps run on whatever modal window is active, from inside
// its own event loop.
#pragma once

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace support {

// Arm it before the call that runs a modal window. Every few milliseconds, while a modal window
// is active, it runs the next step on it. When its steps are used up, or after a few seconds
// of waiting, it closes whatever modal windows are still open so that a broken test fails
// instead of hanging. Give it a parent that the test's cleanup deletes.
class ModalDriver : public QObject {
public:
    explicit ModalDriver(QObject* parent);

    using Step = std::function<void(QWidget* modal)>;
    ModalDriver& Then(Step step);

    // True when every step has run.
    bool Finished() const { return m_steps.empty() && !m_stepStarting; }

    // Closes every modal window still open (also nested ones).
    static void CloseAllModals();

private:
    void Tick();

    QTimer m_timer;
    std::deque<Step> m_steps;
    int m_idleTicks = 0;
    bool m_stepStarting = false;
};

// What every dialog test sets up and tears down: drivers that live as long as one test, and
// afterwards no modal window left open, no main window, and seams that have forgotten their
// answers and records.
class ModalTestScope {
public:
    // In the test's init().
    void Begin(QObject* owner);
    // In the test's cleanup().
    void End();

    ModalDriver& Drive() { return *new ModalDriver(m_scope); }
    // A parent for timers and the like that must go with the test.
    QObject* scope() const { return m_scope; }

private:
    QObject* m_scope = nullptr;
};

}  // namespace support
