// SPDX-License-Identifier: MIT
#include "engine/report_template.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

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

std::size_t CReportTemplate::KeyHash::operator()(std::string_view key) const {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15;
    std::uint64_t hash = key.size();
    while (key.size() >= sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, key.data(), sizeof word);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
        key.remove_prefix(sizeof word);
    }
    std::uint64_t tail = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        tail |= std::uint64_t{static_cast<unsigned char>(key[i])} << (8 * i);
    }
    hash = (hash ^ tail) * kMultiplier;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
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
