// SPDX-License-Identifier: MIT
#include "platform/os/resolved_entry.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace os {

namespace {

constexpr int kMaxLinks = 40;

// Splits `path` into its folder ("." when it names none) and its last component.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

UniqueFd OpenFolder(int base, const std::string& folder) {
    return UniqueFd(openat(base, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace

std::optional<ResolvedEntry> ResolveEntry(const std::string& path) {
    if (path.empty() || path.back() == '/') {
        errno = path.empty() ? ENOENT : EISDIR;  // as open(2) says of these
        return std::nullopt;
    }
    auto [folderPath, name] = SplitPath(path);
    ResolvedEntry entry{OpenFolder(AT_FDCWD, folderPath), name};
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
        auto [linkFolder, linkName] = SplitPath(link);
        // A relative target is read from the folder that holds the link.
        entry.folder = OpenFolder(link.front() == '/' ? AT_FDCWD : entry.folder.get(), linkFolder);
        entry.name = linkName;
    }
    if (entry.folder) {
        errno = ELOOP;
    }
    return std::nullopt;
}

}  // namespace os
