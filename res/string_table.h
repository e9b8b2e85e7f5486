// SPDX-License-Identifier: MIT
// The string table.
#pragma once

#include <string>

namespace res {

// The string with resource id `id`; empty when the table holds none.
std::string LoadStringResource(int id);

}  // namespace res
