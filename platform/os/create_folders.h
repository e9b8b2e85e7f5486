// SPDX-License-Identifier: MIT
// Making a folder and the folders above it that are missing.
#pragma once

#include <sys/types.h>

#include <string>

namespace os {

// Creates `folder` and its missing parents, like mkdir -p; new folders get `mode` less the
// umask. True when the folder is there in the end (an empty path counts as the current
// folder); otherwise false with errno telling why (ENOTDIR when a file stands in the way).
bool CreateFolders(const std::string& folder, mode_t mode);

}  // namespace os
