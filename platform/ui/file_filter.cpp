// SPDX-License-Identifier: MIT
#include "platform/ui/file_filter.h"

#include "platform/os/path_names.h"

namespace ui {

namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::string_view::size_type start = 0;
    while (start <= text.size()) {
        const auto end = text.find(separator, start);
        const auto stop = end == std::string_view::npos ? text.size() : end;
        const std::string_view part = text.substr(start, stop - start);
        // Patterns are often written "*.htm; *.html".
        const auto first = part.find_first_not_of(' ');
        if (first != std::string_view::npos) {
            parts.emplace_back(part.substr(first, part.find_last_not_of(' ') - first + 1));
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return parts;
}

}  // namespace

std::vector<FileFilter> ParseFileFilters(std::string_view list) {
    std::vector<FileFilter> filters;
    std::string_view::size_type pos = 0;
    while (pos < list.size()) {
        const auto descriptionEnd = list.find('|', pos);
        if (descriptionEnd == std::string_view::npos || descriptionEnd == pos) {
            break;
        }
        const auto patternsEnd = list.find('|', descriptionEnd + 1);
        const auto stop = patternsEnd == std::string_view::npos ? list.size() : patternsEnd;
        FileFilter filter{std::string(list.substr(pos, descriptionEnd - pos)),
                          Split(list.substr(descriptionEnd + 1, stop - descriptionEnd - 1), ';')};
        if (!filter.patterns.empty()) {
            filters.push_back(std::move(filter));
        }
        if (patternsEnd == std::string_view::npos) {
            break;
        }
        pos = patternsEnd + 1;
    }
    return filters;
}

std::string ToolkitNameFilter(const FileFilter& filter) {
    std::string label = filter.description;
    // The toolkit takes its patterns from a trailing "(...)", so the written one must go.
    if (!label.empty() && label.back() == ')') {
        const auto open = label.rfind('(');
        if (open != std::string::npos) {
            label.erase(open);
        }
    }
    while (!label.empty() && label.back() == ' ') {
        label.pop_back();
    }
    std::string patterns;
    for (const std::string& pattern : filter.patterns) {
        if (!patterns.empty()) {
            patterns += ' ';
        }
        patterns += pattern == "*.*" ? "*" : pattern;
    }
    return label.empty() ? "(" + patterns + ")" : label + " (" + patterns + ")";
}

std::string FilterExtension(const FileFilter& filter) {
    if (filter.patterns.empty()) {
        return {};
    }
    const std::string& pattern = filter.patterns.front();
    if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0) {
        return {};
    }
    const std::string extension = pattern.substr(2);
    if (extension.find_first_of("*?[]") != std::string::npos) {
        return {};
    }
    return extension;
}

std::string WithDefaultExtension(const std::string& path, const FileFilter* selected,
                                 std::string_view defaultExtension) {
    if (path.empty() || path.back() == '/' || os::HasExtension(path)) {
        return path;
    }
    std::string extension = selected ? FilterExtension(*selected) : std::string();
    if (extension.empty()) {
        extension = defaultExtension;
        if (!extension.empty() && extension.front() == '.') {
            extension.erase(0, 1);
        }
    }
    return extension.empty() ? path : path + "." + extension;
}

}  // namespace ui
