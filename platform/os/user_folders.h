// SPDX-License-Identifier: MIT
// The user's folders, as the XDG base-directory rules place them.
#pragma once

#include <string>

namespace os {

// $HOME, or the account's home from the password database when HOME is unset or empty;
// empty when none is known at all.
std::string HomeFolder();

// $XDG_CONFIG_HOME, or <home>/.config when it is unset, empty or not an absolute path; empty
// when no home is known.
std::string ConfigFolder();

// $XDG_DATA_HOME, or <home>/.local/share under the same rule.
std::string DataFolder();

}  // namespace os
