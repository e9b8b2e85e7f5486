// SPDX-License-Identifier: MIT
#include "platform/ui/toolkit_start.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QApplication>
#include <QByteArray>
#include <array>
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

// While the toolkit starts, what is written to standard error, by the toolkit and by the
// window-system libraries beneath it alike, is held in a memory file until it is known whether
// the start succeeded. Plain descriptors, -1 when nothing is held, as the crash handler reads
// them.
int g_savedError = -1;
int g_heldError = -1;

constexpr std::array kCrashSignals{SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
std::array<struct sigaction, kCrashSignals.size()> g_previousActions{};

// Gives standard error back and, if `passOn`, writes to it what was held. Safe in a signal
// handler.
void ReleaseStandardError(bool passOn) {
    if (g_savedError < 0) {
        return;
    }
    dup2(g_savedError, STDERR_FILENO);
    if (passOn && lseek(g_heldError, 0, SEEK_SET) == 0) {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(g_heldError, buffer, sizeof buffer)) > 0 &&
               os::WriteAll(STDERR_FILENO, {buffer, static_cast<size_t>(got)})) {
        }
    }
    close(g_heldError);
    close(g_savedError);
    g_heldError = g_savedError = -1;
}

void RestoreCrashHandlers() {
    for (size_t i = 0; i < kCrashSignals.size(); ++i) {
        sigaction(kCrashSignals[i], &g_previousActions[i], nullptr);
    }
}

// A crash while messages are held would take them along: they are let out first. When the
// handler returns, the crash takes its usual course with the handlers from before (a faulting
// instruction faults again, abort() raises again).
void LetOutOnCrash(int /*signal*/) {
    ReleaseStandardError(true);
    RestoreCrashHandlers();
}

// Holds standard error for the life of the object, then passes on what was held unless it was
// released before. Without a memory file nothing is held.
class HeldStandardError {
public:
    HeldStandardError() {
        const int held = memfd_create("start-messages", MFD_CLOEXEC);
        const int saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (held < 0 || saved < 0 || dup2(held, STDERR_FILENO) < 0) {
            for (const int fd : {held, saved}) {
                if (fd >= 0) {
                    close(fd);
                }
            }
            return;
        }
        g_heldError = held;
        g_savedError = saved;
        struct sigaction letOut {};
        letOut.sa_handler = LetOutOnCrash;
        sigemptyset(&letOut.sa_mask);
        for (size_t i = 0; i < kCrashSignals.size(); ++i) {
            sigaction(kCrashSignals[i], &letOut, &g_previousActions[i]);
        }
    }
    ~HeldStandardError() { Release(true); }
    HeldStandardError(const HeldStandardError&) = delete;
    HeldStandardError& operator=(const HeldStandardError&) = delete;

    static void Release(bool passOn) {
        if (g_savedError < 0) {
            return;
        }
        RestoreCrashHandlers();
        std::fflush(stderr);
        ReleaseStandardError(passOn);
    }
};

// What to say if the start fails, and the message handler from before it.
const std::string* g_failureLine = nullptr;
QtMessageHandler g_previousHandler = nullptr;

[[noreturn]] void GiveUp(const std::string& failureLine) {
    HeldStandardError::Release(false);
    os::WriteAll(STDERR_FILENO, failureLine + "\n");
    // Nothing of the program has run yet, and the toolkit is half made: leave at once.
    _exit(1);
}

// The toolkit gives up with a fatal message when no platform starts; every other message
// takes its usual way.
void HandleStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        GiveUp(*g_failureLine);
    }
    g_previousHandler(type, context, message);
}

}  // namespace

std::unique_ptr<QApplication> StartToolkit(int& argc, char** argv, const DisplayChoice& choice,
                                           const std::string& failureLine) {
    if (choice.platforms.empty()) {
        GiveUp(failureLine);
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
    g_failureLine = &failureLine;
    g_previousHandler = qInstallMessageHandler(HandleStartMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    return application;
}

}  // namespace ui
