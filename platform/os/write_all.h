// SPDX-License-Identifier: MIT
// Writing a whole buffer to a file descriptor.
#pragma once

#include <string_view>

namespace os {

// Writes every byte of `bytes` to `fd`, through short writes and interruptions. False when a
// write fails or makes no progress (a full disk, an I/O error).
bool WriteAll(int fd, std::string_view bytes);

}  // namespace os
