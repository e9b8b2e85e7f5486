// SPDX-License-Identifier: MIT
// Who may do what with a file that replaces another: the old file's, never more.
#pragma once

#include <sys/stat.h>

namespace os {

// Gives `file`, just made by this writer to replace the file `old` describes, the old file's
// owner (where the writer may change it), group, extended attributes (its ACL among them, where
// the writer may set them) and permission bits. `oldFile` is the old file open for reading, or
// -1 when it could not be opened. Where the group or the ACL cannot be kept (a folder's
// set-group-ID bit gave the file a group the writer cannot change; an ACL that cannot be read
// or set), the group's and others' bits are narrowed to what both had, so that nobody gains
// access. False, with errno, when even that fails.
bool CopyAccess(int oldFile, const struct stat& old, int file);

}  // namespace os
