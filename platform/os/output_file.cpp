// SPDX-License-Identifier: MIT
#include "platform/os/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/os/write_all.h"

namespace os {

OutputFile::~OutputFile() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

bool OutputFile::Create(const std::string& path) {
    const int fd =
        open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) {
        return false;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    return true;
}

bool OutputFile::Write(const char* data, std::size_t size) {
    return m_fd >= 0 && WriteAll(m_fd, std::string_view(data, size));
}

bool OutputFile::Close() {
    if (m_fd < 0) {
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    // Linux releases the descriptor even when close fails, so it is never retried.
    return close(fd) == 0;
}

}  // namespace os
