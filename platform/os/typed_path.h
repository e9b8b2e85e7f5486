// SPDX-License-Identifier: MIT
// A path as a user types it, made whole, so that it names the same file from any folder.
#pragma once

#include <string>

namespace os {

// `typed` as a shell would take it: "~" alone or "~/..." in front is the home folder
// (HomeFolder); any other relative path is joined to the working folder, as text (no link is
// followed, no ".." folded). An absolute path, an empty one and "~user..." stay as they are, and
// so does a relative one when the home or the working folder is not known.
std::string WholePath(const std::string& typed);

}  // namespace os
