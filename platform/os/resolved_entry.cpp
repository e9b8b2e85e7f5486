// SPDX-License-Identifier: MIT
#include "platform/os/resolved_entry.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/os/path_names.h"

namespace os {

namespace {

constexpr int kMaxLinks = 40;

// The folder that holds the last component of `path`.
UniqueFd OpenFolderOf(int base, const std::string& path) {
    const std::string folder = DirectoryOf(path);
    return UniqueFd(
        openat(base, folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace

std::optional<ResolvedEntry> ResolveEntry(const std::string& path) {
    if (path.empty() || path.back() == '/') {
        errno = path.empty() ? ENOENT : EISDIR;
        return std::nullopt;
    }
    ResolvedEntry entry{OpenFolderOf(AT_FDCWD, path), FileNameOf(path), path};
    for (int hop = 0; entry.folder && hop <= kMaxLinks; ++hop) {
        char target[4096];
        const ssize_t length =
            readlinkat(entry.folder.get(), entry.name.c_str(), target, sizeof target);
        if (length < 0) {
            // Not a link (EINVAL) or nothing there yet (ENOENT): this is the entry.
            return errno == EINVAL || errno == ENOENT ? std::optional(std::move(entry))
                                                      : std::nullopt;
        }
        if (length == 0 || static_cast<std::size_t>(length) == sizeof target) {
            errno = length == 0 ? ENOENT : ENAMETOOLONG;
            return std::nullopt;
        }
        const std::string link(target, static_cast<std::size_t>(length));
        if (link.back() == '/') {
            errno = EISDIR;
            return std::nullopt;
        }
        // A relative target is read from the folder that holds the link.
        const bool absolute = link.front() == '/';
        entry.folder = OpenFolderOf(absolute ? AT_FDCWD : entry.folder.get(), link);
        entry.name = FileNameOf(link);
        entry.path = absolute ? link : DirectoryOf(entry.path) + link;
    }
    if (entry.folder) {
        errno = ELOOP;
    }
    return std::nullopt;
}

}  // namespace os
