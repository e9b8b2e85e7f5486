// SPDX-License-Identifier: MIT
// File-type filters of the open and save dialogs, and the default-extension rule.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct FileFilter {
    std::string description;            // as the program wrote it, e.g. "All Files (*.*)"
    std::vector<std::string> patterns;  // e.g. {"*.htm", "*.html"}

    bool operator==(const FileFilter&) const = default;
};

// Splits a filter list of the form "description|patterns|description|patterns||", where the
// patterns of one filter are separated by ";". Parsing stops at an empty description (the
// closing "||"); a description without its pattern part is dropped.
std::vector<FileFilter> ParseFileFilters(std::string_view list);

// The filter in the form the toolkit reads: the description with its trailing "(...)"
// replaced by the patterns, space-separated, where "*.*" becomes "*" so that it also lists
// names without a dot. "All Files (*.*)" becomes "All Files (*)".
std::string ToolkitNameFilter(const FileFilter& filter);

// The extension a filter stands for: that of its first pattern when it is "*.ext" with no
// wildcard in "ext"; empty for "*.*", "*" and the like.
std::string FilterExtension(const FileFilter& filter);

// The name a save dialog stores when the user typed `path`: unchanged when its last component
// has an extension or is empty; otherwise with the selected filter's extension appended or,
// when that filter stands for no single extension (or none is selected), with
// `defaultExtension` appended. `defaultExtension` may carry a leading "."; empty appends
// nothing.
std::string WithDefaultExtension(const std::string& path, const FileFilter* selected,
                                 std::string_view defaultExtension);

}  // namespace ui
