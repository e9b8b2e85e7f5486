// SPDX-License-Identifier: MIT
// How a name is written into the report.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Which characters a report's value escapes.
enum class Escaping {
    // "<" and ">" as "&lt;" and "&gt;", and nothing else, so "&" and quotes pass unchanged:
    // the PATCHNAME keys' rule, which stored templates rely on.
    AngleBrackets,
    // Also "&", '"' and "'" ("&amp;", "&quot;", "&#39;"): safe in any text or attribute of
    // HTML. Every key beyond the PATCHNAME ones.
    Html,
};

// The most a name's length grows by escaping ("&quot;").
inline constexpr std::size_t kMaxEscapedGrowth = 6;

// The report's value for a name: escaped as `escaping` says, then the white-space bytes
// 0x09-0x0D and 0x20 removed from both ends. Bytes of 0x80 and above are never white space.
std::string NameValue(std::string_view name, Escaping escaping);

// NameValue, written from `out`, which must have room for kMaxEscapedGrowth times `name`'s
// length; returns where it ends.
char* WriteNameValue(std::string_view name, Escaping escaping, char* out);

// The value of a PATCHNAME key: NameValue with Escaping::AngleBrackets.
inline std::string PatchNameValue(std::string_view name) {
    return NameValue(name, Escaping::AngleBrackets);
}

// `text` without the white-space bytes 0x09-0x0D and 0x20 at either end.
std::string_view TrimWhiteSpace(std::string_view text);
