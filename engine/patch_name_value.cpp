// SPDX-License-Identifier: MIT
#include "engine/patch_name_value.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// What `c` is written as, or an empty view when it stands for itself.
std::string_view EscapeOf(char c, Escaping escaping) {
    switch (c) {
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '&':
            return escaping == Escaping::Html ? "&amp;" : "";
        case '"':
            return escaping == Escaping::Html ? "&quot;" : "";
        case '\'':
            return escaping == Escaping::Html ? "&#39;" : "";
        default:
            return {};
    }
}

// True when `text` holds a character that `escaping` escapes. Names are short and nearly all
// plain: eight bytes at a time, where a zero byte in `word ^ pattern` is a byte equal to the
// pattern's.
bool NeedsEscaping(std::string_view text, Escaping escaping) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    const auto holds = [&](std::uint64_t word, char c) {
        const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
        return ((x - kOnes) & ~x & kHighBits) != 0;
    };
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= text.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, sizeof word);
        bool found = holds(word, '<') || holds(word, '>');
        if (escaping == Escaping::Html) {
            found = found || holds(word, '&') || holds(word, '"') || holds(word, '\'');
        }
        if (found) {
            return true;
        }
    }
    for (; at < text.size(); ++at) {
        if (!EscapeOf(text[at], escaping).empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string_view TrimWhiteSpace(std::string_view text) {
    while (!text.empty() && IsWhiteSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsWhiteSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char* WriteNameValue(std::string_view name, Escaping escaping, char* out) {
    // Escaping never adds white space, so trimming first gives the same result.
    const std::string_view text = TrimWhiteSpace(name);
    if (!NeedsEscaping(text, escaping)) {
        std::memcpy(out, text.data(), text.size());
        return out + text.size();
    }
    for (const char c : text) {
        const std::string_view escaped = EscapeOf(c, escaping);
        if (escaped.empty()) {
            *out++ = c;
        } else {
            std::memcpy(out, escaped.data(), escaped.size());
            out += escaped.size();
        }
    }
    return out;
}

std::string NameValue(std::string_view name, Escaping escaping) {
    std::string value(kMaxEscapedGrowth * name.size(), '\0');
    value.resize(
        static_cast<std::size_t>(WriteNameValue(name, escaping, value.data()) - value.data()));
    return value;
}
