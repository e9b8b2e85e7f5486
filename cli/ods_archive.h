// SPDX-License-Identifier: MIT
// The zip container of an OpenDocument file, made by libzip.
#pragma once

#include <string>
#include <vector>

#include "engine/table_output.h"

// The archive of `files` in their order, each with the same fixed time, so that the same
// table gives the same bytes; the stored ones uncompressed, the others deflated. Empty when
// libzip fails (memory, say).
std::string ZipPackage(const std::vector<PackageFile>& files);
