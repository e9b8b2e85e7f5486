// SPDX-License-Identifier: MIT
#include "platform/os/profile_text.h"

#include <algorithm>
#include <array>
#include <cstring>
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

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
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
    // Trimmed from the end first: an empty value then sits right after the '=', and a new one
    // goes there rather than past the CR of a CR LF.
    std::size_t valueBegin = first + equals + 1;
    std::size_t valueEnd = end;
    while (valueEnd > valueBegin && IsSpace(text[valueEnd - 1])) {
        --valueEnd;
    }
    while (valueBegin < valueEnd && IsSpace(text[valueBegin])) {
        ++valueBegin;
    }
    line.valueBegin = valueBegin;
    line.valueEnd = valueEnd;
    return line;
}

// A line's extent, before anything is made of it.
struct RawLine {
    std::size_t begin = 0;
    std::size_t first = 0;  // its first byte that is not white space; `end` when blank
    std::size_t end = 0;    // end of its content, before its LF
    std::size_t next = 0;   // start of the following line
};

// Walks the text's lines one at a time, so that no line costs memory of its own, and looks
// at as little of each as it can: a file of a hundred million lines is read in a second.
class LineCursor {
public:
    explicit LineCursor(std::string_view text)
        : m_text(text),
          m_firstLine(text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0),
          m_begin(m_firstLine) {}

    bool Next(RawLine& line) {
        if (m_begin >= m_text.size()) {
            return false;
        }
        std::size_t first = m_begin;
        while (first < m_text.size() && IsSpace(m_text[first])) {
            ++first;
        }
        Take(m_begin, first, line);
        return true;
    }

    // Skips to the next line whose first byte that is not white space is `wanted`, followed
    // (after any white space) by `then` in any ASCII case: only a search for that byte,
    // however many lines lie between.
    bool NextStartingWith(char wanted, std::string_view then, RawLine& line) {
        for (std::size_t at = Find(wanted, m_begin); at < m_text.size();
             at = Find(wanted, at + 1)) {
            std::size_t start = at;
            while (start > m_firstLine && IsSpace(m_text[start - 1])) {
                --start;
            }
            if (start != m_firstLine && m_text[start - 1] != '\n') {
                continue;  // not the line's first byte
            }
            std::size_t after = at + 1;
            while (after < m_text.size() && IsSpace(m_text[after])) {
                ++after;
            }
            std::size_t same = 0;
            while (same < then.size() && after + same < m_text.size() &&
                   AsciiLower(m_text[after + same]) == AsciiLower(then[same])) {
                ++same;
            }
            if (same == then.size()) {
                Take(start, at, line);
                return true;
            }
        }
        m_begin = m_text.size();
        return false;
    }

private:
    void Take(std::size_t begin, std::size_t first, RawLine& line) {
        line.begin = begin;
        line.end = first < m_text.size() && m_text[first] == '\n' ? first : LineEnd(first);
        line.first = std::min(first, line.end);
        line.next = line.end == m_text.size() ? line.end : line.end + 1;
        m_begin = line.next;
    }

    // The next `c` from `from` on, or the text's size. Bytes close by are looked at one by
    // one: a search call costs more than short lines do.
    std::size_t Find(char c, std::size_t from) const {
        const std::size_t quick = std::min(m_text.size(), from + 16);
        for (std::size_t i = from; i < quick; ++i) {
            if (m_text[i] == c) {
                return i;
            }
        }
        const auto found = m_text.find(c, quick);
        return found == std::string_view::npos ? m_text.size() : found;
    }

    std::size_t LineEnd(std::size_t from) const { return Find('\n', from); }

    std::string_view m_text;
    std::size_t m_firstLine;
    std::size_t m_begin;
};

ProfileLine Parse(std::string_view text, const RawLine& raw) {
    ProfileLine line = ParseLine(text, raw.begin, raw.end);
    line.next = raw.next;
    return line;
}

// Moves `cursor` past the header of the first section named `section`; false when there is
// none. Lines that do not start with '[' cannot be headers and are not looked at, nor are
// headers whose name does not start with this one.
bool FindSection(std::string_view text, LineCursor& cursor, std::string_view section,
                 ProfileLine& header) {
    if (section.empty()) {
        return false;
    }
    RawLine raw;
    while (cursor.NextStartingWith('[', section, raw)) {
        header = Parse(text, raw);
        if (header.kind == LineKind::Section && SameName(header.name, section)) {
            return true;
        }
    }
    return false;
}

// Whether the line is a key line of `key`: the key in any ASCII case, white space, then the
// line's first '=' (what ParseLine and SameName would find, without parsing the line).
// Precondition: `key` holds no '=' (such a key is never found).
bool IsKeyLine(std::string_view text, const RawLine& raw, std::string_view key) {
    if (raw.end - raw.first < key.size()) {
        return false;
    }
    std::size_t at = raw.first;
    for (const char c : key) {
        if (AsciiLower(text[at++]) != AsciiLower(c)) {
            return false;
        }
    }
    while (at < raw.end && IsSpace(text[at])) {
        ++at;
    }
    return at < raw.end && text[at] == '=';
}

// Where settings stand, or would stand, in the text.
struct SectionPlace {
    bool found = false;  // the first section of the name
    // The end and the next line's start of the section's last line that is not blank or a
    // comment (its header when it has none).
    std::size_t lastContentEnd = 0;
    std::size_t lastContentNext = 0;
    std::vector<std::optional<ProfileLine>> keys;  // the first line of each key in it
};

// With `untilFound`, stops once every key is found: the section's last line is then unknown.
SectionPlace Locate(std::string_view text, std::string_view section,
                    std::span<const std::string_view> keys, bool untilFound) {
    SectionPlace place;
    place.keys.resize(keys.size());
    LineCursor cursor(text);
    ProfileLine header;
    if (!FindSection(text, cursor, section, header)) {
        return place;
    }
    place.found = true;
    // Bytes that can start a line that matters beyond being content: a header, a comment, or
    // one of the keys. A key holding '=' would read back as a shorter one: no line holds it.
    std::array<bool, 256> startsAny{};
    startsAny[static_cast<unsigned char>('[')] = startsAny[static_cast<unsigned char>(';')] = true;
    std::vector<char> findable;
    for (const std::string_view key : keys) {
        findable.push_back(!key.empty() && key.find('=') == std::string_view::npos);
        if (findable.back()) {
            startsAny[static_cast<unsigned char>(AsciiLower(key.front()))] = true;
            startsAny[static_cast<unsigned char>(AsciiUpper(key.front()))] = true;
        }
    }
    place.lastContentEnd = header.end;
    place.lastContentNext = header.next;
    RawLine raw;
    while (cursor.Next(raw)) {
        if (raw.first == raw.end) {
            continue;  // blank
        }
        if (!startsAny[static_cast<unsigned char>(text[raw.first])]) {
            place.lastContentEnd = raw.end;  // content, and nothing more
            place.lastContentNext = raw.next;
            continue;
        }
        if (text[raw.first] == ';') {
            continue;  // a comment
        }
        // A '[' line with a ']' in it is the next section's header.
        if (text[raw.first] == '[' &&
            std::memchr(text.data() + raw.first, ']', raw.end - raw.first) != nullptr) {
            break;
        }
        bool allFound = true;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (!place.keys[i] && findable[i] && IsKeyLine(text, raw, keys[i])) {
                place.keys[i] = Parse(text, raw);
            }
            allFound = allFound && place.keys[i];
        }
        place.lastContentEnd = raw.end;
        place.lastContentNext = raw.next;
        if (allFound && untilFound) {
            break;
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

std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key) {
    section = Trimmed(section);
    key = Trimmed(key);
    if (section.empty() || key.empty()) {
        return std::nullopt;
    }
    const std::string_view keys[] = {key};
    const SectionPlace place = Locate(text, section, keys, true);
    if (!place.keys[0]) {
        return std::nullopt;
    }
    return ValueOf(text, *place.keys[0]);
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

    const SectionPlace place = Locate(text, section, keys, false);
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
            at = place.lastContentNext;
            if (at == place.lastContentEnd) {  // the file's last line, with no line end
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
