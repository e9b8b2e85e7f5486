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

void AppendPatchNameValue(std::string_view name, std::string& out) {
    // Escaping never adds white space, so trimming first gives the same result.
    const std::string_view text = TrimWhiteSpace(name);
    std::size_t plain = 0;  // where the bytes not yet appended begin
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' || text[i] == '>') {
            out.append(text, plain, i - plain);
            out += text[i] == '<' ? "&lt;" : "&gt;";
            plain = i + 1;
        }
    }
    out.append(text, plain);
}

std::string PatchNameValue(std::string_view name) {
    std::string value;
    AppendPatchNameValue(name, value);
    return value;
}
