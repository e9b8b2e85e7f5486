// SPDX-License-Identifier: MIT
// Running part of a test in a child process: to watch its memory, its signals and its limits
// without touching the test program's own.
#pragma once

#include <functional>

namespace support {

struct ChildResult {
    int exitCode = -1;  // the child's exit status, or -1 when a signal ended it
    int signal = 0;     // the signal that ended it, else 0
    long peakKib = 0;   // its peak resident size
};

// Forks, runs `body` in the child and exits with what it returns. Peak sizes of two children
// compare: both start from this process's memory.
ChildResult RunInChild(const std::function<int()>& body);

// How much more a child running `body` used at its peak than one doing nothing, in KiB.
long ExtraPeakKib(const std::function<int()>& body);

}  // namespace support
