// SPDX-License-Identifier: MIT
#include "platform/ui/toolkit_start.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QApplication>
#include <QByteArray>
#include <cstdio>
#include <optional>

#include "platform/os/write_all.h"
#include "platform/ui/display_session.h"

namespace ui {

namespace {

// One environment variable set for the toolkit's start, and put back as it was after it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name) {
        if (qEnvironmentVariableIsSet(name)) {
            m_old = qgetenv(name);
        }
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~ScopedVariable() {
        // The toolkit's own lock guards these against its threads, which run by now.
        if (m_old) {
            qputenv(m_name, *m_old);
        } else {
            qunsetenv(m_name);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

// Holds back what is written to standard error, by the toolkit and by the window-system
// libraries beneath it alike, until it is known whether the start succeeded. Without a place
// to hold it, nothing is held back.
class HeldStandardError {
public:
    HeldStandardError() {
        m_held = memfd_create("start-messages", MFD_CLOEXEC);
        m_saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (m_held < 0 || m_saved < 0 || dup2(m_held, STDERR_FILENO) < 0) {
            Close();
        }
    }
    ~HeldStandardError() { Release(true); }
    HeldStandardError(const HeldStandardError&) = delete;
    HeldStandardError& operator=(const HeldStandardError&) = delete;

    // Gives standard error back and, if `passOn`, writes to it what was held.
    void Release(bool passOn) {
        if (m_saved < 0) {
            return;
        }
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        if (passOn && lseek(m_held, 0, SEEK_SET) == 0) {
            char buffer[4096];
            ssize_t got = 0;
            while ((got = read(m_held, buffer, sizeof buffer)) > 0 &&
                   os::WriteAll(STDERR_FILENO, {buffer, static_cast<size_t>(got)})) {
            }
        }
        Close();
    }

private:
    void Close() {
        for (int* fd : {&m_held, &m_saved}) {
            if (*fd >= 0) {
                close(*fd);
            }
            *fd = -1;
        }
    }

    int m_held = -1;
    int m_saved = -1;
};

// The start under way: what to say if it fails, and where the held messages are.
struct Attempt {
    HeldStandardError* held;
    const std::string* failureLine;
    QtMessageHandler previousHandler;
};
Attempt* g_attempt = nullptr;

[[noreturn]] void GiveUp(HeldStandardError* held, const std::string& failureLine) {
    if (held) {
        held->Release(false);
    }
    os::WriteAll(STDERR_FILENO, failureLine + "\n");
    // Nothing of the program has run yet, and the toolkit is half made: leave at once.
    _exit(1);
}

// The toolkit gives up with a fatal message when no platform starts; every other message
// takes its usual way.
void HandleStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        GiveUp(g_attempt->held, *g_attempt->failureLine);
    }
    g_attempt->previousHandler(type, context, message);
}

}  // namespace

std::unique_ptr<QApplication> StartToolkit(int& argc, char** argv, const DisplayChoice& choice,
                                           const std::string& failureLine) {
    if (choice.platforms.empty()) {
        GiveUp(nullptr, failureLine);
    }
    std::optional<ScopedVariable> platforms;
    if (!choice.chosenByUser) {
        platforms.emplace("QT_QPA_PLATFORM", choice.platforms);
    }
    std::optional<ScopedVariable> inputMethod;
    if (choice.inputMethod) {
        inputMethod.emplace("QT_IM_MODULE", *choice.inputMethod);
    }

    HeldStandardError held;
    Attempt attempt{&held, &failureLine, nullptr};
    g_attempt = &attempt;
    attempt.previousHandler = qInstallMessageHandler(HandleStartMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(attempt.previousHandler);
    g_attempt = nullptr;
    return application;
}

}  // namespace ui
