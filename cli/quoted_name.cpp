// SPDX-License-Identifier: MIT
#include "cli/quoted_name.h"

#include <cwchar>
#include <cwctype>

namespace {

// Never special to a shell, wherever they stand.
bool IsPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("%+,-./:]_@").find(c) != std::string_view::npos;
}

// The $'...' escape of a byte that cannot be shown.
std::string Escaped(unsigned char byte) {
    constexpr std::string_view kLetters = "abtnvfr";  // \a (7) to \r (13)
    if (byte >= 7 && byte <= 13) {
        return {'\\', kLetters[byte - 7]};
    }
    return {'\\', static_cast<char>('0' + (byte >> 6)), static_cast<char>('0' + (byte >> 3 & 7)),
            static_cast<char>('0' + (byte & 7))};
}

// The length of the printable character at the start of `rest`, or 0 when it cannot be shown.
std::size_t PrintableLength(std::string_view rest) {
    const auto byte = static_cast<unsigned char>(rest.front());
    if (byte < 0x80) {
        return byte >= 0x20 && byte < 0x7f ? 1 : 0;
    }
    std::mbstate_t state{};
    wchar_t wide = 0;
    const std::size_t length = std::mbrtowc(&wide, rest.data(), rest.size(), &state);
    return length != 0 && length <= rest.size() && std::iswprint(static_cast<wint_t>(wide)) ? length
                                                                                            : 0;
}

}  // namespace

std::string QuotedName(std::string_view name, Quoting quoting) {
    // First pass: must it be quoted at all, and would double quotes do (a quote, but nothing
    // that is special inside double quotes or needs an escape)?
    bool needed = name.empty() || quoting == Quoting::Always;
    bool hasQuote = false;
    bool doubleQuotesDo = true;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = PrintableLength(name.substr(i));
        const char c = name[i];
        if (length == 0) {
            needed = true;
            doubleQuotesDo = false;
        } else if (length == 1 && !IsPlain(c)) {
            // '#' and '~' only start a comment or a home folder; braces alone are a group.
            const bool leading =
                (i == 0 && (c == '#' || c == '~')) || (name.size() == 1 && (c == '{' || c == '}'));
            const bool harmless = c == '#' || c == '~' || c == '{' || c == '}';
            needed = needed || leading || !harmless;
            hasQuote = hasQuote || c == '\'';
            doubleQuotesDo = doubleQuotesDo && (leading || c == ' ' || c == '\'');
        }
        i += length == 0 ? 1 : length;
    }
    if (!needed) {
        return std::string(name);
    }
    if (hasQuote && doubleQuotesDo) {
        return "\"" + std::string(name) + "\"";
    }
    // Single quotes, with each run of bytes that cannot be shown as a $'...' piece between.
    std::string quoted = "'";
    bool escaping = false;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = PrintableLength(name.substr(i));
        if (length == 0) {
            quoted += escaping ? "" : "'$'";
            quoted += Escaped(static_cast<unsigned char>(name[i]));
            escaping = true;
            ++i;
            continue;
        }
        if (name[i] == '\'') {
            quoted += "'\\''";
            escaping = false;
        } else {
            quoted += escaping ? "''" : "";
            quoted.append(name.substr(i, length));
            escaping = false;
        }
        i += length;
    }
    return quoted + "'";
}

std::string QuotedWhenNeeded(std::string_view name) {
    return QuotedName(name);
}
