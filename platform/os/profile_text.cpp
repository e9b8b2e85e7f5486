// SPDX-License-Identifier: MIT
#include "platform/os/profile_text.h"

#include <algorithm>
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

// Walks the text's lines one at a time, so that no line costs memory of its own: a file of
// millions of lines is read in the space of its text.
class LineCursor {
public:
    explicit LineCursor(std::string_view text)
        : m_text(text), m_begin(text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0) {}

    bool Next(ProfileLine& line) {
        if (m_begin >= m_text.size()) {
            return false;
        }
        const std::size_t end = LineEnd(m_begin);
        line = ParseLine(m_text, m_begin, end);
        line.next = end == m_text.size() ? end : end + 1;
        m_begin = line.next;
        return true;
    }

private:
    // Short lines are walked byte by byte; a search call costs more than they do.
    std::size_t LineEnd(std::size_t begin) const {
        const std::size_t quick = std::min(m_text.size(), begin + 16);
        for (std::size_t i = begin; i < quick; ++i) {
            if (m_text[i] == '\n') {
                return i;
            }
        }
        const auto newline = m_text.find('\n', quick);
        return newline == std::string_view::npos ? m_text.size() : newline;
    }

    std::string_view m_text;
    std::size_t m_begin;
};

// Where settings stand, or would stand, in the text.
struct SectionPlace {
    bool found = false;       // the first section of the name
    ProfileLine lastContent;  // its last line that is not blank or a comment (its header
                              // when it has none)
    std::vector<std::optional<ProfileLine>> keys;  // the first line of each key in it
};

SectionPlace Locate(std::string_view text, std::string_view section,
                    std::span<const std::string_view> keys) {
    SectionPlace place;
    place.keys.resize(keys.size());
    LineCursor cursor(text);
    ProfileLine line;
    while (cursor.Next(line)) {
        if (line.kind == LineKind::Section && SameName(line.name, section)) {
            place.found = true;
            place.lastContent = line;
            break;
        }
    }
    if (!place.found) {
        return place;
    }
    while (cursor.Next(line) && line.kind != LineKind::Section) {
        if (line.kind == LineKind::Key || line.kind == LineKind::Other) {
            place.lastContent = line;
        }
        for (std::size_t i = 0; line.kind == LineKind::Key && i < keys.size(); ++i) {
            if (!place.keys[i] && SameName(line.name, keys[i])) {
                place.keys[i] = line;
            }
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

std::string_view ValueOf(std::string_view text, const ProfileLine& line) {
    std::string_view value = text.substr(line.valueBegin, line.valueEnd - line.valueBegin);
    if (HasSurroundingQuotes(value)) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    section = Trimmed(section);
    key = Trimmed(key);
    if (section.empty() || key.empty()) {
        return std::nullopt;
    }
    LineCursor cursor(text);
    ProfileLine line;
    bool inSection = false;
    while (cursor.Next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection) {
                break;  // only the first section of the name counts
            }
            inSection = SameName(line.name, section);
        } else if (inSection && line.kind == LineKind::Key && SameName(line.name, key)) {
            return std::string(ValueOf(text, line));
        }
    }
    return std::nullopt;
}

bool CanStoreInProfile(std::string_view section, std::string_view key, std::string_view value) {
    section = Trimmed(section);
    key = Trimmed(key);
    return !section.empty() && !key.empty() && !HoldsLineBreakOrNul(section) &&
           !HoldsLineBreakOrNul(key) && !HoldsLineBreakOrNul(value) &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

std::vector<TextEdit> ProfileEdits(std::string_view text, std::string_view section,
                                   std::span<const ProfileSetting> settings) {
    section = Trimmed(section);
    // A key given twice is stored once, with its last value, where its first would go.
    std::vector<std::string_view> keys;
    std::vector<std::string_view> values;
    for (const ProfileSetting& setting : settings) {
        const std::string_view key = Trimmed(setting.key);
        std::size_t i = 0;
        while (i < keys.size() && !SameName(keys[i], key)) {
            ++i;
        }
        if (i == keys.size()) {
            keys.push_back(key);
            values.push_back(setting.value);
        } else {
            values[i] = setting.value;
        }
    }

    const SectionPlace place = Locate(text, section, keys);
    std::vector<TextEdit> edits;
    std::string newLines;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (place.keys[i]) {
            edits.push_back(
                {place.keys[i]->valueBegin, place.keys[i]->valueEnd, StoredForm(values[i])});
        } else {
            newLines.append(keys[i]).append("=").append(StoredForm(values[i])).append("\r\n");
        }
    }
    if (!newLines.empty()) {
        std::size_t at = text.size();
        std::string inserted;
        if (place.found) {
            // After the section's last line, so comments and blank lines that lead into the
            // next section stay in front of it.
            at = place.lastContent.next;
            if (at == place.lastContent.end) {  // the file's last line, with no line end
                inserted = "\r\n";
            }
        } else {
            if (!text.empty() && text.back() != '\n') {
                inserted = "\r\n";
            }
            inserted.append("[").append(section).append("]\r\n");
        }
        // Stable order: a value replaced at the very end goes before lines added there.
        edits.push_back({at, at, inserted + newLines});
    }
    std::stable_sort(edits.begin(), edits.end(),
                     [](const TextEdit& a, const TextEdit& b) { return a.begin < b.begin; });
    return edits;
}

std::string WithEdits(std::string_view text, const std::vector<TextEdit>& edits) {
    std::string result;
    std::size_t size = text.size();
    for (const TextEdit& edit : edits) {
        size += edit.text.size() - (edit.end - edit.begin);
    }
    result.reserve(size);
    std::size_t at = 0;
    for (const TextEdit& edit : edits) {
        result.append(text.substr(at, edit.begin - at)).append(edit.text);
        at = edit.end;
    }
    return result.append(text.substr(at));
}

std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
    const ProfileSetting setting{key, value};
    return WithEdits(text, ProfileEdits(text, section, {&setting, 1}));
}

}  // namespace os
