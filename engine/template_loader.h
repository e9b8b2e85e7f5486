// SPDX-License-Identifier: MIT
// Loading "template.htm" as the report's text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Appends the template file's bytes to `text` as lines: a line ends at LF (not kept), a CR
// directly before that LF is dropped while any other CR stays, a NUL ends the line's text, a
// line left with no bytes is skipped, and every other line is appended whole, whatever its
// length, followed by CR LF. Nothing from the first 0x1A (Ctrl-Z) on is read. No byte is
// translated otherwise.
void AppendTemplateLines(std::string_view fileBytes, std::string& text);

// The template file's text as above; none, with errno telling why, when the file cannot be
// opened as a regular file or reading it fails part-way.
std::optional<std::string> LoadTemplateText(const std::string& templatePath);
