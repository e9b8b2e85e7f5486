// SPDX-License-Identifier: MIT
// Sequential, buffered reading of a regular file, or of bytes held in memory as if they were one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace os {

// A regular file (or bytes in memory) read front to back: the bytes it delivers are exactly the
// file's bytes in order. A file is closed when the object goes.
class InputFile {
public:
    InputFile();
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens a regular file for reading. False, with errno telling why, when the path cannot be
    // opened or leads to anything but a regular file (EISDIR for a directory, ENOTSUP for a
    // FIFO or a device): opening never waits, so a FIFO with no writer behind it cannot hang
    // the caller.
    bool Open(const std::string& path);
    // The same for the entry `name` of the open folder `folder`, which must not be a link.
    bool OpenAt(int folder, const std::string& name);
    // Reads `bytes` instead, which must outlive the reading, exactly as a file that holds them
    // would be read: readers are the same whether their bytes come from a path or from memory.
    void OpenBytes(std::string_view bytes);

    // Starts again from the first byte, for a second reader of the one open file.
    void Rewind();

    // Appends everything from here to the end of the file to `content`, sized once from the
    // file's length; false, with `content` as it was, when reading fails part-way or the file
    // does not fit in memory.
    bool ReadRest(std::string& content);

    // Reads up to `size` bytes, fewer only at the end of the file or on a read error.
    std::size_t Read(void* destination, std::size_t size) {
        // Readers that walk a file in small steps take almost all of them from the buffer.
        if (size <= m_end - m_begin && size > 0) {
            std::memcpy(destination, m_data + m_begin, size);
            m_begin += size;
            return size;
        }
        return ReadBeyondBuffer(destination, size);
    }

    // Passes over up to `size` bytes; returns how many there were. What the buffer does not
    // hold is passed over without being read, so a record of gigabytes, or one past the end of
    // a sparse file, costs no more than a small one.
    std::uint64_t Skip(std::uint64_t size) {
        if (size <= m_end - m_begin) {
            m_begin += static_cast<std::size_t>(size);
            return size;
        }
        return SkipBeyondBuffer(size);
    }

    // Hands the next `size` bytes to `visit(bytes, count)` piece by piece as the buffer holds
    // them, never copied; returns how many there were.
    template <typename Visit>
    std::uint64_t Pass(std::uint64_t size, Visit&& visit) {
        std::uint64_t done = 0;
        while (done < size && (m_begin < m_end || Refill())) {
            const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(size - done, m_end - m_begin));
            visit(m_data + m_begin, take);
            m_begin += take;
            done += take;
        }
        return done;
    }

    // True once a read has come back short: the file has ended (or failed) for good.
    bool Ended() const { return m_ended; }

    // True when reading stopped on an error rather than at the end of the file.
    bool Failed() const { return m_failed; }

    // The size the file had when it was opened.
    std::uint64_t SizeWhenOpened() const { return m_sizeWhenOpened; }

private:
    // Takes `fd` when it is a regular file, else closes it.
    bool Adopt(int fd);
    std::size_t ReadBeyondBuffer(void* destination, std::size_t size);
    std::uint64_t SkipBeyondBuffer(std::uint64_t size);
    // Moves the file's offset on by up to `size` bytes, as far as the file now goes.
    std::uint64_t SeekForward(std::uint64_t size);
    // Refills the buffer; false when nothing more can be read.
    bool Refill();
    // One read(2) that retries on interruption; 0 once the file has ended or failed, which
    // it records.
    std::size_t ReadOnce(void* destination, std::size_t size);

    int m_fd = -1;
    std::unique_ptr<unsigned char[]> m_buffer;
    const unsigned char* m_data = nullptr;  // the buffer, or the bytes in memory
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_ended = false;
    bool m_failed = false;
    std::uint64_t m_sizeWhenOpened = 0;
};

}  // namespace os
