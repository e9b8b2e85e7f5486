// SPDX-License-Identifier: MIT
#include "platform/os/path_names.h"

#include <filesystem>

namespace os {

namespace {

// Where the file name starts.
std::size_t NameStart(std::string_view path) {
    return path.size() - std::filesystem::path(path).filename().native().size();
}

// Where the file name's extension starts: its last "." unless that leads the name; else the
// path's end. By hand, as std::filesystem takes ".." for a name without an extension.
std::size_t ExtensionStart(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos || dot <= NameStart(path) ? path.size() : dot;
}

}  // namespace

std::string DirectoryOf(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string FileNameOf(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string StemOf(std::string_view path) {
    const std::size_t start = NameStart(path);
    return std::string(path.substr(start, ExtensionStart(path) - start));
}

bool HasExtension(std::string_view path) {
    return ExtensionStart(path) < path.size();
}

std::string WithExtension(std::string_view path, std::string_view extension) {
    std::string result(path.substr(0, ExtensionStart(path)));
    return result.append(extension);
}

}  // namespace os
