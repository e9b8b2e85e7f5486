// SPDX-License-Identifier: MIT
#include "engine/report_template.h"

#include <string_view>

void CReportTemplate::SetTemplate(std::string text) {
    m_chunks.clear();
    m_values.clear();

    std::string_view remaining = text;
    bool insideTag = false;
    while (!remaining.empty()) {
        const std::string_view marker = insideTag ? "%>" : "<%";
        const auto found = remaining.find(marker);
        if (found == std::string_view::npos) {
            m_chunks.push_back({insideTag, std::string(remaining)});
            remaining = {};
        } else {
            m_chunks.push_back({insideTag, std::string(remaining.substr(0, found))});
            remaining.remove_prefix(found + marker.size());
        }
        insideTag = !insideTag;
    }
}

void CReportTemplate::SetValue(const std::string& key, const std::string& value) {
    m_values[key] = value;
}

void CReportTemplate::Render(std::string& out) const {
    // Look each tag up once, then size the output before copying, so rendering stays linear.
    std::vector<const std::string*> pieces;
    pieces.reserve(m_chunks.size());
    std::size_t total = 0;
    for (const TemplateChunk& chunk : m_chunks) {
        const std::string* piece = &chunk.text;
        if (chunk.isTag) {
            const auto value = m_values.find(chunk.text);
            piece = value == m_values.end() ? nullptr : &value->second;
        }
        if (piece != nullptr) {
            pieces.push_back(piece);
            total += piece->size();
        }
    }
    out.clear();
    out.reserve(total);
    for (const std::string* piece : pieces) {
        out += *piece;
    }
}
