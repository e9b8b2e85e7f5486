// SPDX-License-Identifier: MIT
#include "platform/os/file_identity.h"

#include <sys/stat.h>

namespace os {

namespace {

std::optional<FileIdentity> IdentityIf(bool looked, const struct stat& info) {
    if (!looked) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat info {};
    return IdentityIf(stat(path.c_str(), &info) == 0, info);
}

std::optional<FileIdentity> IdentityOfDescriptor(int fd) {
    struct stat info {};
    return IdentityIf(fstat(fd, &info) == 0, info);
}

}  // namespace os
