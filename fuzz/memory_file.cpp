// SPDX-License-Identifier: MIT
#include "fuzz/memory_file.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {

[[noreturn]] void Die(const char* what) {
    std::perror(what);
    std::abort();
}

}  // namespace

MemoryFile::MemoryFile(const char* name, std::string_view bytes)
    : m_fd(memfd_create(name, MFD_CLOEXEC)) {
    if (m_fd < 0) {
        Die("memfd_create");
    }
    m_path = "/proc/self/fd/" + std::to_string(m_fd);
    Assign(bytes);
}

MemoryFile::~MemoryFile() {
    close(m_fd);
}

void MemoryFile::Assign(std::string_view bytes) {
    if (ftruncate(m_fd, 0) != 0) {
        Die("ftruncate");
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            pwrite(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (written <= 0) {
            Die("pwrite");
        }
        done += static_cast<std::size_t>(written);
    }
}

std::string MemoryFile::Content() const {
    struct stat info {};
    if (fstat(m_fd, &info) != 0) {
        Die("fstat");
    }
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got =
            pread(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got <= 0) {
            Die("pread");
        }
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

}  // namespace fuzz
