// SPDX-License-Identifier: MIT
// Failed writes as errors, not as the end of the process.
#pragma once

namespace os {

// Ignores SIGPIPE (a FIFO or pipe whose reader went away) and SIGXFSZ (a file-size limit
// reached), whose default is to kill the process: the write then fails with EPIPE or EFBIG and
// the program reports it like any other failed write. Called once, at the start of main.
void IgnoreWriteSignals();

}  // namespace os
