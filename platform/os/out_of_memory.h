// SPDX-License-Identifier: MIT
// A process that runs out of memory ends with one line, never an abort.
#pragma once

namespace os {

// Makes std::terminate, which the C++ runtime calls where it cannot even allocate the
// exception that would say memory ran out (a process at its limit, `ulimit -v`), write
// "<program>: memory exhausted" on standard error and end the process with status 1 (for an
// exception that escaped, "<program>: internal error"). Every other failure is caught where it
// happens; this is for the one that cannot be.
void EndQuietlyWhenMemoryRunsOut(const char* program);

// The line itself, for a caller that caught std::bad_alloc: written without allocating, under
// the name last given to EndQuietlyWhenMemoryRunsOut.
void TellMemoryExhausted();

}  // namespace os
