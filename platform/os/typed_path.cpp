// SPDX-License-Identifier: MIT
#include "platform/os/typed_path.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/os/user_folders.h"

namespace os {

std::string WholePath(const std::string& typed) {
    if (typed.empty() || typed.front() == '/') {
        return typed;
    }
    if (typed == "~" || typed.starts_with("~/")) {
        const std::string home = HomeFolder();
        return home.empty() ? typed : home + typed.substr(1);
    }
    if (typed.front() == '~') {
        return typed;  // another user's home: left to the one who typed it
    }
    // getcwd with no buffer takes a path of any length.
    const std::unique_ptr<char, decltype(&free)> folder(getcwd(nullptr, 0), free);
    if (!folder) {
        return typed;
    }
    const std::string here = folder.get();
    return here + (here.ends_with('/') ? "" : "/") + typed;
}

}  // namespace os
