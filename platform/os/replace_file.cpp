// SPDX-License-Identifier: MIT
#include "platform/os/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>

#include "platform/os/executable_path.h"
#include "platform/os/write_all.h"

namespace os {

namespace {

// A name for the temporary file that no other process or thread picks at the same moment:
// the process id and a counter make it unique now, the clock keeps stale leftovers from
// colliding. O_EXCL settles any remaining clash.
std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    const auto slash = path.rfind('/');
    const std::string folder = DirectoryOf(path);
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    return folder + "." + name + "." + std::to_string(getpid()) + "-" +
           std::to_string(counter.fetch_add(1)) + "-" + std::to_string(now) + ".tmp";
}

int CreateTemporary(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(path);
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Makes the rename itself survive a crash. Failure is not reported: the new content is
// already in place for every reader, and some file systems cannot flush a folder at all.
void FlushFolder(const std::string& path) {
    const std::string folder = DirectoryOf(path);
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes,
                           std::optional<mode_t> mode) {
    if (path.empty()) {
        return false;
    }
    std::string temporary;
    const int fd = CreateTemporary(path, temporary);
    if (fd < 0) {
        return false;
    }
    bool written = WriteAll(fd, bytes) && (!mode || fchmod(fd, *mode) == 0) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    FlushFolder(path);
    return true;
}

}  // namespace os
