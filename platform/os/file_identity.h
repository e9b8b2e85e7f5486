// SPDX-License-Identifier: MIT
// Telling whether two paths name the same file, whatever their spelling.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>

namespace os {

// A file as the file system knows it: equal identities mean the same file, through any
// spelling, symbolic link or hard link.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct FileIdentityHash {
    std::size_t operator()(const FileIdentity& identity) const noexcept {
        return std::hash<std::uint64_t>()(identity.inode * 0x9E3779B97F4A7C15u ^ identity.device);
    }
};

// Many files, looked up in constant time (a batch's inputs and the reports it has written).
using FileIdentitySet = std::unordered_set<FileIdentity, FileIdentityHash>;

// The identity of the file a path leads to (symbolic links followed); none when the path
// leads to nothing.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// The identity of the file open as `fd`; none when it is not open.
std::optional<FileIdentity> IdentityOfDescriptor(int fd);

}  // namespace os
