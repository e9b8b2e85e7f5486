// SPDX-License-Identifier: MIT
// Finding and setting values in the text of a private profile (INI) file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// The value stored under `key` in `section` of `text`, whole; none when the section or the key
// is missing or either name is empty.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// Whether the names and the value can be stored so that they read back as they were given
// (names up to white space at their ends). Refused: empty names; CR, LF or NUL anywhere, since
// they would break the line structure the file is made of; a key holding '=' or starting with
// ';' or '[', which would read back as a shorter key, a comment or a section header.
bool CanStoreInProfile(std::string_view section, std::string_view key, std::string_view value);

// `text` with `value` stored under `key` in `section`; every other byte stays as it was.
// - An existing key keeps its line, its spelling and the white space around its value; only
//   the value itself is replaced.
// - A missing key gets a line of its own after the last key line of its section, so comments
//   and blank lines that lead into the next section stay in front of it.
// - A missing section is added at the end of the text, with the key in it.
// Lines written anew end with CR LF. A value with white space at either end, or wrapped in a
// matching pair of quotes, is written inside double quotes so that it reads back whole.
// Precondition: CanStoreInProfile(section, key, value).
std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

}  // namespace os
