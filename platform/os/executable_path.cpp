// SPDX-License-Identifier: MIT
#include "platform/os/executable_path.h"

#include <unistd.h>

#include <vector>

namespace os {

std::string ExecutablePath() {
    // readlink cannot say how long the target is, so grow until it fits with room to spare.
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace os
