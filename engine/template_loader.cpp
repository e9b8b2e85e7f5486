// SPDX-License-Identifier: MIT
#include "engine/template_loader.h"

#include <algorithm>
#include <cstring>

#include "platform/os/input_file.h"

void AppendTemplateLines(std::string_view fileBytes, std::string& text) {
    const auto stop = fileBytes.find('\x1A');
    if (stop != std::string_view::npos) {
        fileBytes = fileBytes.substr(0, stop);
    }
    text.reserve(text.size() + fileBytes.size() + fileBytes.size() / 32 + 2);

    while (!fileBytes.empty()) {
        const auto lineFeed = fileBytes.find('\n');
        const bool ended = lineFeed != std::string_view::npos;
        std::string_view line = fileBytes.substr(0, ended ? lineFeed : fileBytes.size());
        fileBytes.remove_prefix(ended ? lineFeed + 1 : fileBytes.size());
        if (ended && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = line.substr(0, line.find('\0'));
        if (!line.empty()) {
            text.append(line);
            text.append("\r\n", 2);
        }
    }
}

std::optional<std::string> LoadTemplateText(const std::string& templatePath) {
    os::InputFile file;
    if (!file.Open(templatePath)) {
        return std::nullopt;
    }
    // Read whole, then split: the lines are cut with memchr rather than byte by byte.
    std::string bytes;
    std::size_t size = static_cast<std::size_t>(file.SizeWhenOpened());
    for (;;) {
        // One byte more than expected, so a file that grew is noticed and read to its end.
        const std::size_t offset = bytes.size();
        bytes.resize(offset + size + 1);
        const std::size_t got = file.Read(bytes.data() + offset, size + 1);
        bytes.resize(offset + got);
        if (file.Ended()) {
            break;
        }
        size = std::max<std::size_t>(size, 64 * 1024);
    }
    if (file.Failed()) {
        return std::nullopt;
    }
    std::string text;
    AppendTemplateLines(bytes, text);
    return text;
}
