// SPDX-License-Identifier: MIT
// Replacing a file's content so that readers and crashes never see half of it.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace os {

// Makes `path` hold exactly `bytes`. The bytes go to a new temporary file in the same folder,
// which is flushed to disk and then renamed over `path`; so at every moment the path holds the
// whole old content or the whole new one, whatever fails (a crash, a full disk) and however
// many processes replace the file at once. The new file gets the permissions `mode`, or when
// there is none those of a newly created file (0666 less the umask).
// False when anything fails; the temporary file is then removed and `path` is untouched.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes,
                           std::optional<mode_t> mode);

}  // namespace os
