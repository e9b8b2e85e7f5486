// SPDX-License-Identifier: MIT
// The parts of a path: its directory, its file name, and the file name's extension.
#pragma once

#include <string>
#include <string_view>

namespace os {

// The directory part of `path`, with its trailing '/'; empty when the path holds no '/'.
std::string DirectoryOf(std::string_view path);

// The file name part of `path`: what follows its last '/', or the whole path without one.
std::string FileNameOf(std::string_view path);

// The file name of `path` without its extension. The extension is what follows the last "."
// of the file name itself, so a "." in a folder name never counts; a name without one (or
// whose only "." leads it, as in ".tabulon") is kept whole.
std::string StemOf(std::string_view path);

// True when the file name of `path` has an extension: ".profile" has none; "notes.txt" and
// "notes." have one.
bool HasExtension(std::string_view path);

// `path` with the extension of its file name replaced by `extension` (which brings its own
// "."), or with `extension` appended when the file name has none.
std::string WithExtension(std::string_view path, std::string_view extension);

}  // namespace os
