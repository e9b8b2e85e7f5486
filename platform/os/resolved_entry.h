// SPDX-License-Identifier: MIT
// Where a write to a path really lands: the folder held open, and the name in it.
#pragma once

#include <optional>
#include <string>

#include "platform/os/unique_fd.h"

namespace os {

// An entry of a folder that is held open, so that whatever later happens to the folders and
// links of the path that led to it, the entry meant is the one acted on.
struct ResolvedEntry {
    UniqueFd folder;
    std::string name;  // one path component: no '/', never empty
};

// The entry that writing to `path` should replace. Symbolic links at the path's last component
// are followed (up to 40, relative ones from the folder of the link), so that a link keeps
// pointing at its target, which is the entry written; a dangling link leads to the entry its
// target would create. Links in the folders of the path are followed by the kernel as usual.
// None, with errno telling why, when the path is empty, ends in '/', leads through a folder that
// cannot be opened, or its links loop. The entry itself may be anything or nothing: the caller
// looks.
std::optional<ResolvedEntry> ResolveEntry(const std::string& path);

}  // namespace os
