// SPDX-License-Identifier: MIT
// A text with "<%key%>" placeholders, filled in from named values.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// One piece of a parsed template.
struct TemplateChunk {
    bool isTag;  // true: text is a key taken from between "<%" and "%>"
    // The literal text, or the key exactly as written (nothing trimmed). It lies in the text
    // its template keeps, so parsing copies nothing, however large the template.
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
    // the text a key. Every text parses.
    void SetTemplate(std::string text);

    // Stores `value` under `key` (exact, case-sensitive bytes), replacing an earlier value.
    void SetValue(const std::string& key, const std::string& value);

    // Replaces `out` with the chunks in order, each tag replaced by its key's value, or by
    // nothing when the key has none.
    void Render(std::string& out) const;

    const std::vector<TemplateChunk>& Chunks() const { return m_chunks; }

private:
    std::map<std::string, std::string, std::less<>> m_values;
    std::string m_text;
    std::vector<TemplateChunk> m_chunks;
};
