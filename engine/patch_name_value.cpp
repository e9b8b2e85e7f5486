// SPDX-License-Identifier: MIT
#include "engine/patch_name_value.h"

#include <algorithm>
#include <cstring>
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

char* WritePatchNameValue(std::string_view name, char* out) {
    // Escaping never adds white space, so trimming first gives the same result.
    const std::string_view text = TrimWhiteSpace(name);
    // Names are short: one pass by hand beats two library calls.
    if (std::none_of(text.begin(), text.end(), [](char c) { return c == '<' || c == '>'; })) {
        std::memcpy(out, text.data(), text.size());
        return out + text.size();
    }
    std::size_t plain = 0;  // where the bytes not yet copied begin
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' || text[i] == '>') {
            std::memcpy(out, text.data() + plain, i - plain);
            out += i - plain;
            std::memcpy(out, text[i] == '<' ? "&lt;" : "&gt;", 4);
            out += 4;
            plain = i + 1;
        }
    }
    std::memcpy(out, text.data() + plain, text.size() - plain);
    return out + (text.size() - plain);
}

std::string PatchNameValue(std::string_view name) {
    std::string value(4 * name.size(), '\0');
    value.resize(static_cast<std::size_t>(WritePatchNameValue(name, value.data()) - value.data()));
    return value;
}
