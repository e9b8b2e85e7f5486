// SPDX-License-Identifier: MIT
// Telling whether two paths name the same file, whatever their spelling.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace os {

// A file as the file system knows it: equal identities mean the same file, through any
// spelling, symbolic link or hard link.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file a path leads to (symbolic links followed); none when the path
// leads to nothing.
std::optional<FileIdentity> IdentityOf(const std::string& path);

}  // namespace os
