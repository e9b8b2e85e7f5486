// SPDX-License-Identifier: MIT
// The path of the running executable.
#pragma once

#include <string>

namespace os {

// Full path of the running executable as the kernel resolves it (symlinks followed), of any
// length. Empty when the kernel cannot tell, for instance without /proc.
std::string ExecutablePath();

// The directory part of a path, with its trailing '/'; empty when the path holds no '/'.
std::string DirectoryOf(const std::string& path);

// The file name part of a path: what follows its last '/', or the whole path without one.
std::string FileNameOf(const std::string& path);

}  // namespace os
