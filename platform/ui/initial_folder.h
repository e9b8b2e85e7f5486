// SPDX-License-Identifier: MIT
// Where the open and save dialogs start.
#pragma once

#include <string>

namespace ui {

// The folder that a path typed in a field points into: the path itself when it names a
// folder, else its folder part, which is "." (the working folder) for a bare name. Empty for
// an empty path.
std::string FolderOfPath(const std::string& path);

// The folder a file dialog opens in: `requested` when it names an existing folder, else
// `lastUsed` when that does, else `home`. Relative paths are taken from the working folder;
// the result is absolute, without "." or ".." components and without a trailing "/".
std::string InitialFolder(const std::string& requested, const std::string& lastUsed,
                          const std::string& home);

}  // namespace ui
