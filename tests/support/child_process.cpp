// SPDX-License-Identifier: MIT
#include "support/child_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace support {

ChildResult RunInChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(body());
    }
    ChildResult result;
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) {
        return result;
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.peakKib = usage.ru_maxrss;
    return result;
}

long ExtraPeakKib(const std::function<int()>& body) {
    const long idle = RunInChild([] { return 0; }).peakKib;
    return RunInChild(body).peakKib - idle;
}

}  // namespace support
