// SPDX-License-Identifier: MIT
// Small pieces of text gathered and handed on in large ones.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

// Copies `text` to `out`; returns where it ends.
inline char* Put(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// A list of thousands of items, each written in place: added piece by piece they cost more
// than all the rest of a report.
class PieceBuffer {
public:
    using Sink = std::function<void(std::string_view)>;

    explicit PieceBuffer(const Sink& sink) : m_sink(sink) { m_text.resize(kSize + kRoom); }
    ~PieceBuffer() { Flush(); }
    PieceBuffer(const PieceBuffer&) = delete;
    PieceBuffer& operator=(const PieceBuffer&) = delete;

    void Add(std::string_view text) {
        if (text.size() > kRoom) {
            Flush();
            m_sink(text);
            return;
        }
        Commit(Put(Room(), text));
    }
    // Where up to kRoom bytes may be written; Commit(end) then takes them.
    char* Room() { return m_text.data() + m_used; }
    void Commit(const char* end) {
        m_used = static_cast<std::size_t>(end - m_text.data());
        if (m_used >= kSize) {
            Flush();
        }
    }
    void Flush() {
        if (m_used > 0) {
            m_sink(std::string_view(m_text.data(), m_used));
            m_used = 0;
        }
    }

    static constexpr std::size_t kRoom = 1024;

private:
    static constexpr std::size_t kSize = 32 * 1024;
    const Sink& m_sink;
    std::string m_text;
    std::size_t m_used = 0;
};
