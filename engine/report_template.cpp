// SPDX-License-Identifier: MIT
#include "engine/report_template.h"

#include <cstring>
#include <string_view>
#include <utility>

namespace {

constexpr std::size_t kMarkerSize = 2;

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

void AppendLength(std::vector<unsigned char>& lengths, std::size_t length) {
    while (length >= 0x80) {
        lengths.push_back(static_cast<unsigned char>(length | 0x80));
        length >>= 7;
    }
    lengths.push_back(static_cast<unsigned char>(length));
}

}  // namespace

void CReportTemplate::SetTemplate(std::string text) {
    m_lengths.clear();
    m_lengths.shrink_to_fit();
    m_values.clear();
    m_source = nullptr;
    m_text = std::move(text);

    std::string_view remaining = m_text;
    bool insideTag = false;
    while (!remaining.empty()) {
        const auto found = FindMarker(remaining, insideTag);
        if (found == std::string_view::npos) {
            AppendLength(m_lengths, remaining.size());
            remaining = {};
        } else {
            AppendLength(m_lengths, found);
            remaining.remove_prefix(found + kMarkerSize);
        }
        insideTag = !insideTag;
    }
}

template <typename Visit>
void CReportTemplate::ForEachChunk(Visit&& visit) const {
    std::size_t at = 0;
    bool isTag = false;
    for (std::size_t i = 0; i < m_lengths.size();) {
        std::size_t length = 0;
        for (unsigned shift = 0;; shift += 7) {
            const unsigned char group = m_lengths[i++];
            length |= static_cast<std::size_t>(group & 0x7F) << shift;
            if ((group & 0x80) == 0) {
                break;
            }
        }
        visit(isTag, std::string_view(m_text).substr(at, length));
        at += length + kMarkerSize;
        isTag = !isTag;
    }
}

void CReportTemplate::SetValue(const std::string& key, std::string value) {
    m_values[key] = std::move(value);
}

void CReportTemplate::SetValueSource(ValueSource source) {
    m_source = std::move(source);
}

void CReportTemplate::Render(const Sink& sink) const {
    ForEachChunk([&](bool isTag, std::string_view text) {
        if (!isTag) {
            sink(text);
        } else if (const auto value = m_values.find(text); value != m_values.end()) {
            sink(value->second);
        } else if (m_source) {
            m_source(text, sink);
        }
    });
}

void CReportTemplate::Render(std::string& out) const {
    // Sized first and copied once, so rendering stays linear in time and in memory.
    std::size_t total = 0;
    Render([&total](std::string_view piece) { total += piece.size(); });
    out.clear();
    out.reserve(total);
    Render([&out](std::string_view piece) { out += piece; });
}

std::vector<TemplateChunk> CReportTemplate::Chunks() const {
    std::vector<TemplateChunk> chunks;
    ForEachChunk([&](bool isTag, std::string_view text) { chunks.push_back({isTag, text}); });
    return chunks;
}

void CReportTemplate::ForEachTag(const std::function<void(std::string_view)>& visit) const {
    ForEachChunk([&visit](bool isTag, std::string_view text) {
        if (isTag) {
            visit(text);
        }
    });
}
