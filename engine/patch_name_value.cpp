// SPDX-License-Identifier: MIT
#include "engine/patch_name_value.h"

#include <string_view>

namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
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

std::string PatchNameValue(std::string_view name) {
    const std::string_view text = TrimWhiteSpace(name);
    // Escaping never adds white space, so trimming first gives the same result.
    std::string value;
    value.reserve(text.size());
    for (const char c : text) {
        if (c == '<') {
            value += "&lt;";
        } else if (c == '>') {
            value += "&gt;";
        } else {
            value += c;
        }
    }
    return value;
}
