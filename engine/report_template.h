// SPDX-License-Identifier: MIT
// A text with "<%key%>" placeholders, filled in from named values.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One piece of a parsed template.
struct TemplateChunk {
    bool isTag;  // true: text is a key taken from between "<%" and "%>"
    // The literal text, or the key exactly as written (nothing trimmed). It lies in the text
    // its template keeps.
    std::string_view text;
};

class CReportTemplate {
public:
    CReportTemplate() = default;
    virtual ~CReportTemplate() = default;
    CReportTemplate(const CReportTemplate&) = delete;
    CReportTemplate& operator=(const CReportTemplate&) = delete;

    // Forgets every chunk and every value, then splits `text` into chunks. Markers do not nest:
    // "%>" outside a tag and "<%" inside one are plain text; an unclosed "<%" makes the rest of
    // the text a key. Every text parses. The chunks take at most half a byte each per byte of
    // text beside the text itself, whatever its shape (see m_lengths).
    void SetTemplate(std::string text);

    // Stores `value` under `key` (exact, case-sensitive bytes), replacing an earlier value.
    void SetValue(const std::string& key, std::string value);

    using Sink = std::function<void(std::string_view)>;
    using ValueSource = std::function<void(std::string_view key, const Sink& sink)>;
    // Asks `source`, at each tag whose key has no value stored, to hand that key's value to
    // the sink it is given, piece by piece, as rendering reaches the tag (a key it knows
    // nothing of renders as nothing): values too many to store one by one, or too large to be
    // worth holding (a list of thousands of names), are made where they are shown, straight
    // to where the output goes. What `source` uses must outlive the rendering.
    void SetValueSource(ValueSource source);

    // Replaces `out` with the chunks in order, each tag replaced by its key's value, or by
    // nothing when the key has none.
    void Render(std::string& out) const;

    // The same rendering handed to `sink` piece by piece, so that it can go straight to a
    // file without the whole output ever being held.
    void Render(const Sink& sink) const;

    // The chunks in template order, literal and tag alternating from a literal.
    std::vector<TemplateChunk> Chunks() const;

    // Calls `visit(key)` for every tag in template order: values that cost work to make are
    // made only for templates that show them.
    template <typename Visit>
    void ForEachTag(Visit&& visit) const {
        ForEachChunk([&visit](bool isTag, std::string_view text) {
            if (isTag) {
                visit(text);
            }
        });
    }

private:
    // Calls `visit(isTag, text)` for every chunk in order.
    template <typename Visit>
    void ForEachChunk(Visit&& visit) const {
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

    static constexpr std::size_t kMarkerSize = 2;

    // Looked up once per tag as rendering reaches it, by the key's bytes as they stand. Keys
    // are short and few, so eight bytes at a time mixed by a multiply do; the library's hash
    // of every byte cost a report as much as the rest of its lookups.
    struct KeyHash {
        using is_transparent = void;
        // Not noexcept: the map then keeps each key's hash, rather than working it out anew for
        // every entry it passes on a lookup.
        std::size_t operator()(std::string_view key) const;
    };
    std::unordered_map<std::string, std::string, KeyHash, std::equal_to<>> m_values;
    ValueSource m_source;
    std::string m_text;
    // The chunks are kept as their lengths alone, each in 7-bit groups (LEB128): chunks
    // alternate literal and tag from a literal, and a marker of two bytes follows every chunk
    // but the last, so the lengths say where each one lies. A template of nothing but "<%%>"
    // has a chunk every two bytes, each of one byte here.
    std::vector<unsigned char> m_lengths;
};
