// SPDX-License-Identifier: MIT
// Turning the file's 8-bit names and the system's file names into Unicode text.
#pragma once

#include <string>
#include <string_view>

// The character of Windows-1252 byte `byte`, the charset of the report and of the names in a
// PCG file. The five bytes it leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) give the C1
// control of the same number, as browsers read them.
char32_t Windows1252Character(unsigned char byte);

// Calls `visit(character)` for each character of `text`, read as UTF-8; each byte that does
// not begin a valid, shortest-form sequence gives U+FFFD.
template <typename Visit>
void ForEachUtf8Character(std::string_view text, Visit&& visit);

// True for the C0 controls, DEL and the C1 controls: characters that move the cursor, break a
// line or start an escape sequence rather than show.
inline bool IsControlCharacter(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// Appends `c` to `out` in UTF-8.
void AppendUtf8(char32_t c, std::string& out);

// The length of the valid UTF-8 sequence at the start of `text` and its character, or a
// length of 0 when none starts there.
std::size_t DecodeUtf8(std::string_view text, char32_t& c);

template <typename Visit>
void ForEachUtf8Character(std::string_view text, Visit&& visit) {
    while (!text.empty()) {
        char32_t c = 0;
        std::size_t length = DecodeUtf8(text, c);
        if (length == 0) {
            c = U'\uFFFD';
            length = 1;
        }
        visit(c);
        text.remove_prefix(length);
    }
}
