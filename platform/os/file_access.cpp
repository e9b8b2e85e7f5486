// SPDX-License-Identifier: MIT
#include "platform/os/file_access.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>

namespace os {

namespace {

constexpr const char* kAcl = "system.posix_acl_access";

// Fills `bytes` with what `read` gives, asked first for its size; false when it fails, or the
// size changed in between.
template <typename Read>
bool ReadSized(std::string& bytes, Read read) {
    const ssize_t size = read(nullptr, 0);
    if (size <= 0) {
        bytes.clear();
        return size == 0;  // nothing more to ask for: most files have no attributes
    }
    bytes.resize(static_cast<std::size_t>(size));
    return read(bytes.data(), bytes.size()) == size;
}

// Copies the extended attributes the writer may set; false when the ACL, or the lack of one,
// could not be carried over. Those of an old file that cannot be read are unknown: it is taken
// to have an ACL that cannot be kept.
bool CopyExtendedAttributes(int from, int to) {
    std::string names;
    const bool known =
        from >= 0 &&
        (ReadSized(names,
                   [from](char* list, std::size_t size) { return flistxattr(from, list, size); }) ||
         errno == ENOTSUP);
    bool aclKept = known;
    bool hadAcl = false;
    std::string value;
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.c_str() + at;
        at += std::string_view(name).size() + 1;
        // Security labels and the like are the system's to give; they may well be refused.
        const bool copied = ReadSized(value,
                                      [from, name](char* bytes, std::size_t size) {
                                          return fgetxattr(from, name, bytes, size);
                                      }) &&
                            fsetxattr(to, name, value.data(), value.size(), 0) == 0;
        if (std::string_view(name) == kAcl) {
            hadAcl = true;
            aclKept = copied;
        }
    }
    // One the new file took from its folder's default ACL would grant what the old did not.
    if (!hadAcl && fremovexattr(to, kAcl) != 0 && errno != ENODATA && errno != ENOTSUP) {
        aclKept = false;
    }
    return aclKept;
}

// The group's and others' bits cut to those both had: nobody in a group other than the old
// file's, and nobody the old group's bits kept out, gains anything.
mode_t Narrowed(mode_t mode) {
    const mode_t both = (mode >> 3) & mode & 07;
    return (mode & 0700) | both << 3 | both;
}

}  // namespace

bool CopyAccess(int oldFile, const struct stat& old, int file) {
    struct stat now {};
    if (fstat(file, &now) != 0) {
        return false;
    }
    bool kept = true;
    // Changing the owner is only possible for some (root writing a user's file), so it is only
    // tried; the group is the old one whenever the writer belongs to it.
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        fchown(file, old.st_uid, old.st_gid) != 0 &&
        fchown(file, static_cast<uid_t>(-1), old.st_gid) != 0) {
        kept = false;
    }
    kept = CopyExtendedAttributes(oldFile, file) && kept;
    const mode_t mode = old.st_mode & 0777;
    // Set last: setting an ACL sets the bits too.
    return fchmod(file, kept ? mode : Narrowed(mode)) == 0;
}

}  // namespace os
