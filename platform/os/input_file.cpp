// SPDX-License-Identifier: MIT
#include "platform/os/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace os {

namespace {
// Large enough that reading costs about what the page cache copy costs, small enough to be
// independent of the file's size.
constexpr std::size_t kBufferSize = 128 * 1024;
}  // namespace

InputFile::InputFile() = default;

InputFile::~InputFile() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

bool InputFile::Open(const std::string& path) {
    return Adopt(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
}

bool InputFile::OpenAt(int folder, const std::string& name) {
    return Adopt(
        openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW));
}

// O_NONBLOCK keeps open(2) from waiting for a FIFO's writer; such files are refused here.
bool InputFile::Adopt(int fd) {
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    const bool looked = fstat(fd, &info) == 0;
    if (!looked || !S_ISREG(info.st_mode)) {
        // A FIFO or a device is refused by this reader, not by the system: "not supported".
        const int error = !looked ? errno : S_ISDIR(info.st_mode) ? EISDIR : ENOTSUP;
        close(fd);
        errno = error;
        return false;
    }
    // O_NONBLOCK may stay: it changes nothing for a regular file.
    if (m_fd >= 0) {
        close(m_fd);
    }
    m_fd = fd;
    m_sizeWhenOpened = static_cast<std::uint64_t>(info.st_size);
    m_data = m_buffer.get();
    m_begin = m_end = 0;
    m_ended = m_failed = false;
    return true;
}

void InputFile::OpenBytes(std::string_view bytes) {
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    m_data = reinterpret_cast<const unsigned char*>(bytes.data());
    m_begin = 0;
    m_end = bytes.size();
    m_ended = m_failed = false;
    m_sizeWhenOpened = bytes.size();
}

void InputFile::Rewind() {
    m_ended = m_failed = false;
    m_begin = 0;
    if (m_fd < 0) {
        return;  // bytes in memory: they are all still there
    }
    m_end = 0;
    if (lseek(m_fd, 0, SEEK_SET) != 0) {
        m_ended = m_failed = true;
    }
}

bool InputFile::ReadRest(std::string& content) {
    const std::size_t start = content.size();
    if (m_sizeWhenOpened > content.max_size() - start) {
        return false;
    }
    try {
        content.resize(start + static_cast<std::size_t>(m_sizeWhenOpened));
        content.resize(start + Read(content.data() + start, content.size() - start));
        // A file that grew since it was opened is read to its new end.
        char chunk[16 * 1024];
        while (!m_ended) {
            content.append(chunk, Read(chunk, sizeof chunk));
        }
    } catch (const std::bad_alloc&) {
        content.resize(start);  // a file larger than memory (a sparse one, say)
        return false;
    }
    return !m_failed;
}

std::size_t InputFile::ReadOnce(void* destination, std::size_t size) {
    for (;;) {
        const ssize_t got = read(m_fd, destination, size);
        if (got > 0) {
            return static_cast<std::size_t>(got);
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        m_ended = true;
        m_failed = got < 0;
        return 0;
    }
}

bool InputFile::Refill() {
    if (m_ended || m_fd < 0) {
        m_ended = true;  // bytes in memory end where the buffer does
        return false;
    }
    if (!m_buffer) {
        // Only when first needed, and not cleared: a reader that takes its bytes in large
        // pieces never pays for it, and every byte is written before it is read.
        m_buffer.reset(new unsigned char[kBufferSize]);
        m_data = m_buffer.get();
    }
    const std::size_t got = ReadOnce(m_buffer.get(), kBufferSize);
    m_begin = 0;
    m_end = got;
    return got > 0;
}

std::size_t InputFile::ReadBeyondBuffer(void* destination, std::size_t size) {
    auto* out = static_cast<unsigned char*>(destination);
    std::size_t done = 0;
    while (done < size) {
        if (m_begin == m_end) {
            // A large request skips the buffer rather than copying through it.
            if (size - done >= kBufferSize && !m_ended && m_fd >= 0) {
                const std::size_t got = ReadOnce(out + done, size - done);
                if (got == 0) {
                    break;
                }
                done += got;
                continue;
            }
            if (!Refill()) {
                break;
            }
        }
        const std::size_t take = std::min(size - done, m_end - m_begin);
        std::memcpy(out + done, m_data + m_begin, take);
        m_begin += take;
        done += take;
    }
    return done;
}

std::uint64_t InputFile::SeekForward(std::uint64_t size) {
    struct stat info {};
    const off_t at = lseek(m_fd, 0, SEEK_CUR);
    if (at < 0 || fstat(m_fd, &info) != 0) {
        m_ended = m_failed = true;
        return 0;
    }
    // As far as the file goes now: one that grew since it was opened is read to its new end.
    const auto size_now = static_cast<std::uint64_t>(info.st_size);
    const auto here = static_cast<std::uint64_t>(at);
    const std::uint64_t take = std::min(size, size_now > here ? size_now - here : 0);
    if (take > 0 && lseek(m_fd, static_cast<off_t>(take), SEEK_CUR) < 0) {
        m_ended = m_failed = true;
        return 0;
    }
    m_ended = take < size;
    return take;
}

std::uint64_t InputFile::SkipBeyondBuffer(std::uint64_t size) {
    std::uint64_t done = m_end - m_begin;
    m_begin = m_end;
    // Beyond a buffer's worth the bytes are passed over, never read.
    if (size - done > kBufferSize && m_fd >= 0 && !m_ended) {
        return done + SeekForward(size - done);
    }
    while (done < size) {
        if (m_begin == m_end && !Refill()) {
            break;
        }
        const std::uint64_t take = std::min<std::uint64_t>(size - done, m_end - m_begin);
        m_begin += static_cast<std::size_t>(take);
        done += take;
    }
    return done;
}

}  // namespace os
