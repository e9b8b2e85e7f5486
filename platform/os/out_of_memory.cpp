// SPDX-License-Identifier: MIT
#include "platform/os/out_of_memory.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

namespace os {

namespace {

// Taken when the process starts: nothing may be allocated once memory has run out.
char g_program[200] = "";
std::size_t g_programLength = 0;

void Tell(const char* what) {
    char line[256];
    std::memcpy(line, g_program, g_programLength);
    const std::size_t whatLength = std::min(std::strlen(what), sizeof line - g_programLength);
    std::memcpy(line + g_programLength, what, whatLength);
    if (write(STDERR_FILENO, line, g_programLength + whatLength) < 0) {
        return;  // there is nothing left to tell a failed write to
    }
}

// No exception at all: the runtime could not allocate the one it was to throw. Any other that
// escaped is a fault of the program's, and said to be.
[[noreturn]] void EndWithALine() {
    bool memory = true;
    if (const std::exception_ptr escaped = std::current_exception()) {
        try {
            std::rethrow_exception(escaped);
        } catch (const std::bad_alloc&) {
        } catch (...) {
            memory = false;
        }
    }
    Tell(memory ? ": memory exhausted\n" : ": internal error\n");
    _exit(1);
}

}  // namespace

void EndQuietlyWhenMemoryRunsOut(const char* program) {
    g_programLength = std::min(std::strlen(program), sizeof g_program);
    std::memcpy(g_program, program, g_programLength);
    std::set_terminate(EndWithALine);
}

void TellMemoryExhausted() {
    Tell(": memory exhausted\n");
}

}  // namespace os
