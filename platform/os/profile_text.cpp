// SPDX-License-Identifier: MIT
#include "platform/os/profile_text.h"

#include <vector>

namespace os {

namespace {

enum class LineKind { Blank, Comment, Section, Key, Other };

// One line of the text, as byte offsets into it.
struct ProfileLine {
    LineKind kind = LineKind::Blank;
    std::size_t end = 0;   // end of the line's content, before its LF
    std::size_t next = 0;  // start of the following line
    std::string_view name;
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsSpace(char c) {
    // CR counts as white space, which takes care of CR LF line ends.
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

ProfileLine ParseLine(std::string_view text, std::size_t begin, std::size_t end) {
    ProfileLine line;
    line.end = end;
    std::size_t first = begin;
    while (first < end && IsSpace(text[first])) {
        ++first;
    }
    const std::string_view content = text.substr(first, end - first);
    if (Trimmed(content).empty()) {
        line.kind = LineKind::Blank;
        return line;
    }
    if (content.front() == ';') {
        line.kind = LineKind::Comment;
        return line;
    }
    if (content.front() == '[') {
        const auto close = content.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = Trimmed(content.substr(1, close - 1));
            return line;
        }
    }
    // An unclosed '[' line is read as a key line, like any other.
    const auto equals = content.find('=');
    if (equals == std::string_view::npos) {
        line.kind = LineKind::Other;
        return line;
    }
    line.kind = LineKind::Key;
    line.name = Trimmed(content.substr(0, equals));
    std::size_t valueBegin = first + equals + 1;
    std::size_t valueEnd = end;
    while (valueBegin < valueEnd && IsSpace(text[valueBegin])) {
        ++valueBegin;
    }
    while (valueEnd > valueBegin && IsSpace(text[valueEnd - 1])) {
        --valueEnd;
    }
    line.valueBegin = valueBegin;
    line.valueEnd = valueEnd;
    return line;
}

std::vector<ProfileLine> SplitLines(std::string_view text) {
    std::vector<ProfileLine> lines;
    std::size_t begin = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (begin < text.size()) {
        const auto newline = text.find('\n', begin);
        const auto end = newline == std::string_view::npos ? text.size() : newline;
        ProfileLine line = ParseLine(text, begin, end);
        line.next = newline == std::string_view::npos ? text.size() : newline + 1;
        lines.push_back(line);
        begin = line.next;
    }
    return lines;
}

// Where a key stands, or would stand, in the text.
struct KeyPlace {
    std::optional<std::size_t> section;  // index of the first matching section header
    std::optional<std::size_t> key;      // index of the first matching key line in it
    std::size_t lastContent = 0;         // index of the section's last line that is not
                                         // blank or a comment (its header when it has none)
};

KeyPlace Locate(const std::vector<ProfileLine>& lines, std::string_view section,
                std::string_view key) {
    KeyPlace place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::Section && SameName(lines[i].name, section)) {
            place.section = i;
            break;
        }
    }
    if (!place.section) {
        return place;
    }
    place.lastContent = *place.section;
    for (std::size_t i = *place.section + 1; i < lines.size() && lines[i].kind != LineKind::Section;
         ++i) {
        if (lines[i].kind == LineKind::Key || lines[i].kind == LineKind::Other) {
            place.lastContent = i;
        }
        if (lines[i].kind == LineKind::Key && !place.key && SameName(lines[i].name, key)) {
            place.key = i;
        }
    }
    return place;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool HasSurroundingQuotes(std::string_view value) {
    return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

std::string StoredForm(std::string_view value) {
    const bool needsQuotes = !value.empty() && (IsSpace(value.front()) || IsSpace(value.back()) ||
                                                HasSurroundingQuotes(value));
    if (needsQuotes) {
        return '"' + std::string(value) + '"';
    }
    return std::string(value);
}

bool HoldsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    section = Trimmed(section);
    key = Trimmed(key);
    if (section.empty() || key.empty()) {
        return std::nullopt;
    }
    const auto lines = SplitLines(text);
    const KeyPlace place = Locate(lines, section, key);
    if (!place.key) {
        return std::nullopt;
    }
    const ProfileLine& line = lines[*place.key];
    std::string_view value = text.substr(line.valueBegin, line.valueEnd - line.valueBegin);
    if (HasSurroundingQuotes(value)) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

bool CanStoreInProfile(std::string_view section, std::string_view key, std::string_view value) {
    section = Trimmed(section);
    key = Trimmed(key);
    return !section.empty() && !key.empty() && !HoldsLineBreakOrNul(section) &&
           !HoldsLineBreakOrNul(key) && !HoldsLineBreakOrNul(value) &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
    section = Trimmed(section);
    key = Trimmed(key);
    const auto lines = SplitLines(text);
    const KeyPlace place = Locate(lines, section, key);
    const std::string stored = StoredForm(value);
    std::string result;
    result.reserve(text.size() + section.size() + key.size() + stored.size() + 8);

    if (place.key) {
        const ProfileLine& line = lines[*place.key];
        result.append(text.substr(0, line.valueBegin));
        result.append(stored);
        result.append(text.substr(line.valueEnd));
        return result;
    }

    const std::string keyLine = std::string(key) + '=' + stored + "\r\n";
    if (place.section) {
        const ProfileLine& after = lines[place.lastContent];
        result.append(text.substr(0, after.next));
        if (after.next == after.end) {  // the file's last line, with no line end of its own
            result.append("\r\n");
        }
        result.append(keyLine);
        result.append(text.substr(after.next));
        return result;
    }

    result.append(text);
    if (!text.empty() && text.back() != '\n') {
        result.append("\r\n");
    }
    result.append("[").append(section).append("]\r\n").append(keyLine);
    return result;
}

}  // namespace os
