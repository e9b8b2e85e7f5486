// SPDX-License-Identifier: MIT
#include "platform/os/write_signals.h"

#include <csignal>

namespace os {

void IgnoreWriteSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace os
