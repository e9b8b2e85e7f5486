// SPDX-License-Identifier: MIT
// Arbitrary bytes as template.htm: the loaded lines, the parsed chunks (of the raw bytes too)
// and the rendering, each checked exactly.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/report_template.h"
#include "engine/template_loader.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr std::size_t kReportedNames = 128;

// The template's lines by plain splitting: cut at the first Ctrl-Z, split at LF, drop the CR
// before an LF, cut each line at its first NUL, keep the lines left with bytes, each + CR LF.
std::string ExpectedLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1A'));
    std::string text;
    while (!bytes.empty()) {
        const auto lineFeed = bytes.find('\n');
        std::string_view line = bytes.substr(0, lineFeed);
        bytes.remove_prefix(lineFeed == std::string_view::npos ? bytes.size() : lineFeed + 1);
        if (lineFeed != std::string_view::npos && line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        line = line.substr(0, line.find('\0'));
        if (!line.empty()) {
            text += line;
            text += "\r\n";
        }
    }
    return text;
}

// The chunks are the text split at its markers, nothing lost: literals and tags alternate from
// a literal on, no chunk holds the marker that would have ended it, and putting the markers
// back between the chunks gives the text again, short only of a marker that ended it (which
// leaves no chunk behind). Together these admit exactly one chunk list per text.
void CheckChunks(std::string_view text, const std::vector<TemplateChunk>& chunks) {
    if (chunks.empty()) {
        FUZZ_CHECK(text.empty());
        return;
    }
    std::string rebuilt;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const TemplateChunk& chunk = chunks[i];
        FUZZ_CHECK(chunk.isTag == (i % 2 == 1));
        FUZZ_CHECK(chunk.text.find(chunk.isTag ? "%>" : "<%") == std::string::npos);
        if (i > 0) {
            rebuilt += chunk.isTag ? "<%" : "%>";
        }
        rebuilt += chunk.text;
    }
    if (text.size() == rebuilt.size()) {
        FUZZ_CHECK(text == rebuilt);
        // Text that ran out without a marker ends in a chunk that holds it.
        FUZZ_CHECK(!chunks.back().text.empty());
    } else {
        FUZZ_CHECK(text == rebuilt + (chunks.back().isTag ? "%>" : "<%"));
    }
}

std::string Key(std::size_t j) {
    char key[16];
    std::snprintf(key, sizeof key, "PATCHNAME_%03zu", j);
    return key;
}

std::string Rendered(const CReportTemplate& reportTemplate) {
    std::string out = "stale output";
    reportTemplate.Render(out);
    return out;
}

std::string ExpectedRendering(const std::vector<TemplateChunk>& chunks,
                              const std::map<std::string, std::string, std::less<>>& values) {
    std::string out;
    for (const TemplateChunk& chunk : chunks) {
        if (!chunk.isTag) {
            out += chunk.text;
        } else if (const auto value = values.find(chunk.text); value != values.end()) {
            out += value->second;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string text = "kept";
    AppendTemplateLines(bytes, text);
    FUZZ_CHECK(text == "kept" + ExpectedLines(bytes));
    text.erase(0, 4);

    // Raw bytes first: a loaded text always ends in CR LF, so only they can end in a marker.
    CReportTemplate reportTemplate;
    reportTemplate.SetTemplate(std::string(bytes));
    CheckChunks(bytes, reportTemplate.Chunks());

    // Values set before the template must not survive it.
    for (std::size_t j = 0; j < kReportedNames; ++j) {
        reportTemplate.SetValue(Key(j), "stale value");
    }
    reportTemplate.SetTemplate(text);
    const std::vector<TemplateChunk>& chunks = reportTemplate.Chunks();
    CheckChunks(text, chunks);
    FUZZ_CHECK(Rendered(reportTemplate) == ExpectedRendering(chunks, {}));

    // Values holding markers of their own, which must reach the output as they are.
    std::map<std::string, std::string, std::less<>> values;
    for (std::size_t j = 0; j < kReportedNames; ++j) {
        values[Key(j)] = "[<%" + std::to_string(j) + "%>]";
    }
    std::size_t derived = 0;
    for (std::size_t i = 1; i < chunks.size() && derived < 3; i += 2, ++derived) {
        values[std::string(chunks[i].text)] = "(" + std::to_string(i) + ")";
    }
    for (const auto& [key, value] : values) {
        reportTemplate.SetValue(key, "replaced later");
        reportTemplate.SetValue(key, value);
    }
    FUZZ_CHECK(Rendered(reportTemplate) == ExpectedRendering(chunks, values));
    return 0;
}
