// SPDX-License-Identifier: MIT
#include "platform/os/create_folders.h"

#include <sys/stat.h>

#include <cerrno>

namespace os {

bool CreateFolders(const std::string& folder, mode_t mode) {
    for (auto slash = folder.find('/', 1); !folder.empty(); slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    if (!folder.empty() && (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

}  // namespace os
