// SPDX-License-Identifier: MIT
#include "engine/template_loader.h"

#include <algorithm>
#include <memory>

#include "platform/os/input_file.h"

namespace {

// Turns the file's bytes into the template's lines as they arrive, in pieces of any size, so
// the file is never held whole beside the text made from it. Each line is copied straight into
// the text and settled there when its end is seen.
class TemplateLines {
public:
    explicit TemplateLines(std::string& text) : m_text(text), m_lineStart(text.size()) {}

    void Feed(std::string_view bytes) {
        if (m_stopped) {
            return;
        }
        const auto stop = bytes.find('\x1A');
        if (stop != std::string_view::npos) {
            bytes = bytes.substr(0, stop);
            m_stopped = true;
        }
        // NULs are rare: look for the next one once, not in every line.
        auto nul = bytes.find('\0');
        for (;;) {
            const auto lineFeed = bytes.find('\n');
            if (!m_cut) {
                // A NUL ends the line's text; the rest of it, up to its LF, is lost.
                m_cut = nul < lineFeed;
                m_text.append(bytes.substr(0, m_cut ? nul : lineFeed));
            }
            if (lineFeed == std::string_view::npos) {
                return;
            }
            EndLine(true);
            bytes.remove_prefix(lineFeed + 1);
            if (nul != std::string_view::npos) {
                nul = nul > lineFeed ? nul - lineFeed - 1 : bytes.find('\0');
            }
        }
    }

    // Takes a last line that no LF ended.
    void Finish() { EndLine(false); }

private:
    void EndLine(bool atLineFeed) {
        // Only a CR that stood right before the LF goes; one before a NUL stays.
        if (atLineFeed && !m_cut && m_text.size() > m_lineStart && m_text.back() == '\r') {
            m_text.pop_back();
        }
        if (m_text.size() > m_lineStart) {
            m_text.append("\r\n", 2);
        }
        m_lineStart = m_text.size();
        m_cut = false;
    }

    std::string& m_text;
    std::size_t m_lineStart;
    bool m_cut = false;
    bool m_stopped = false;
};

}  // namespace

void AppendTemplateLines(std::string_view fileBytes, std::string& text) {
    TemplateLines lines(text);
    lines.Feed(fileBytes);
    lines.Finish();
}

std::optional<std::string> LoadTemplateText(const std::string& templatePath) {
    os::InputFile file;
    if (!file.Open(templatePath)) {
        return std::nullopt;
    }
    std::string text;
    // Lines usually grow by one byte (LF to CR LF); the rest is the string's own growth.
    const auto expected = static_cast<std::size_t>(file.SizeWhenOpened());
    text.reserve(expected + expected / 32 + 2);

    TemplateLines lines(text);
    // A block the file's size fits in whole, so that a template is read in one call; a small
    // one comes from the heap rather than from pages the kernel maps and unmaps for it.
    constexpr std::size_t kSmallestBlock = 64 * 1024;
    constexpr std::size_t kLargestBlock = 1 << 20;
    const std::size_t blockSize = std::clamp(expected + 1, kSmallestBlock, kLargestBlock);
    // Left uncleared: only the bytes read into it are ever looked at.
    const std::unique_ptr<char[]> block(new char[blockSize]);
    while (!file.Ended()) {
        const std::size_t got = file.Read(block.get(), blockSize);
        lines.Feed(std::string_view(block.get(), got));
    }
    if (file.Failed()) {
        return std::nullopt;
    }
    lines.Finish();
    return text;
}
