// SPDX-License-Identifier: MIT
// Finding and setting values in the text of a private profile (INI) file.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace os {

// The rules follow what Windows' private-profile service does observably:
// - a line is a section header "[name]" (the name runs to the line's last ']'), a comment
//   (first character ';'), a key line "key=value" (split at the first '='), or blank; lines end
//   with LF or CR LF, and a UTF-8 byte order mark before the first line is skipped;
// - white space around section names, keys and values is ignored, and section and key names
//   compare ASCII case-insensitively;
// - one matching pair of quotes (' or ") around a value is not part of the value;
// - the first section of a name is the only one looked at, and in it the first line of a key;
// - key lines before the first section header belong to no section.
// Bytes are bytes: no code-page conversion, and NUL bytes in the text are ordinary bytes.

// The value stored under `key` in `section` of `text`, whole, as a view into `text` (so that a
// value as large as the file costs nothing more); none when the section or the key is missing
// or either name is empty.
std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key);

// Whether the names and the value can be stored so that they read back as they were given
// (names up to white space at their ends). Refused: empty names; CR, LF or NUL anywhere, since
// they would break the line structure the file is made of; a key holding '=' or starting with
// ';' or '[', which would read back as a shorter key, a comment or a section header.
bool CanStoreInProfile(std::string_view section, std::string_view key, std::string_view value);

// One value to store under its key.
struct ProfileSetting {
    std::string_view key;
    std::string_view value;
};

// One change to a text: its bytes [begin, end) give way to `text`.
struct TextEdit {
    std::size_t begin;
    std::size_t end;
    std::string text;
};

// The changes that store each setting under its key in `section` of `text`, exactly as storing
// them one after the other, in order, would; sorted by position and not overlapping, so that
// the new text can be written from the old one piece by piece. Every other byte stays:
// - an existing key keeps its line, its spelling and the white space around its value; only
//   the value itself is replaced;
// - missing keys get lines of their own after the last key line of the section, in order, so
//   comments and blank lines that lead into the next section stay in front of them;
// - a missing section is added at the end of the text, with the keys in it.
// Lines written anew end with CR LF. A value with white space at either end, or wrapped in a
// matching pair of quotes, is written inside double quotes so that it reads back whole. A key
// given twice is stored once, with its last value.
// Precondition: CanStoreInProfile(section, key, value) for every setting.
std::vector<TextEdit> ProfileEdits(std::string_view text, std::string_view section,
                                   std::span<const ProfileSetting> settings);

// `text` with `edits` (as ProfileEdits gives them) made.
std::string WithEdits(std::string_view text, const std::vector<TextEdit>& edits);

// `text` with `value` stored under `key` in `section` (see ProfileEdits).
std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

}  // namespace os
