// SPDX-License-Identifier: MIT
#include "engine/report_template.h"

#include <cstring>
#include <string_view>

namespace {

// The first "<%" (or "%>") in `text`. Both markers hold a '%', which HTML seldom has, while
// '<' starts every tag: looking for the '%' skips through HTML far faster.
std::size_t FindMarker(std::string_view text, bool closing) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* at = begin; at < end;) {
        const auto* percent =
            static_cast<const char*>(std::memchr(at, '%', static_cast<std::size_t>(end - at)));
        if (percent == nullptr) {
            break;
        }
        if (closing ? percent + 1 < end && percent[1] == '>'
                    : percent > begin && percent[-1] == '<') {
            return static_cast<std::size_t>(percent - begin) - (closing ? 0 : 1);
        }
        at = percent + 1;
    }
    return std::string_view::npos;
}

}  // namespace

void CReportTemplate::SetTemplate(std::string text) {
    m_chunks.clear();
    m_values.clear();
    m_text = std::move(text);

    std::string_view remaining = m_text;
    bool insideTag = false;
    while (!remaining.empty()) {
        const auto found = FindMarker(remaining, insideTag);
        if (found == std::string_view::npos) {
            m_chunks.push_back({insideTag, remaining});
            remaining = {};
        } else {
            m_chunks.push_back({insideTag, remaining.substr(0, found)});
            remaining.remove_prefix(found + 2);
        }
        insideTag = !insideTag;
    }
}

void CReportTemplate::SetValue(const std::string& key, const std::string& value) {
    m_values[key] = value;
}

void CReportTemplate::Render(std::string& out) const {
    // Look each tag up once, then size the output before copying, so rendering stays linear.
    std::vector<std::string_view> pieces;
    pieces.reserve(m_chunks.size());
    std::size_t total = 0;
    for (const TemplateChunk& chunk : m_chunks) {
        std::string_view piece = chunk.text;
        if (chunk.isTag) {
            const auto value = m_values.find(chunk.text);
            piece = value == m_values.end() ? std::string_view() : value->second;
        }
        pieces.push_back(piece);
        total += piece.size();
    }
    out.clear();
    out.reserve(total);
    for (const std::string_view piece : pieces) {
        out += piece;
    }
}
