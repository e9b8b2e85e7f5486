// SPDX-License-Identifier: MIT
// The path of the running executable.
#pragma once

#include <string>

namespace os {

// Full path of the running executable as the kernel resolves it (symlinks followed), of any
// length. Empty when the kernel cannot tell, for instance without /proc.
std::string ExecutablePath();

}  // namespace os
