// SPDX-License-Identifier: MIT
// Names derived from the running executable's path.
#pragma once

#include <string>

namespace os {

// The file name of `executablePath` without its directories and without its extension. The
// extension is what follows the last "." of the file name itself, so a "." in a folder name
// never counts; a name without one (or whose only "." leads it, as in ".tabulon") is kept whole.
std::string ExecutableName(const std::string& executablePath);

// `path` with the extension of its file name replaced by `extension` (which brings its own
// "."), or with `extension` appended when the file name has none.
std::string WithExtension(const std::string& path, const std::string& extension);

}  // namespace os
