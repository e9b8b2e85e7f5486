// SPDX-License-Identifier: MIT
// Private profile (INI) files: our stand-in for Windows' Get/WritePrivateProfileStringA.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/os/profile_text.h"

namespace os {

// The longest value a read returns: Windows reads into a 4096-byte buffer that also holds the
// terminating NUL.
inline constexpr std::size_t kMaxProfileReadLength = 4095;

// The value stored under `key` in `section` of the profile file, cut to its first
// kMaxProfileReadLength bytes; `defaultValue` when the file (or anything but a regular file
// at the path), the section or the key is missing. The text rules are those of
// profile_text.h. Reading never creates anything.
std::string ReadProfileString(const std::string& profilePath, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

// Stores the whole `value` under `key` in `section` of the profile file, creating the file,
// the section or the key as needed and keeping every other byte of the file; see
// ProfileEdits for where new lines go. A missing folder is created (new folders get mode
// 0700). The file is replaced whole (file_commit.h): never left half written, no temporary
// file left behind, its permission bits kept, and a symbolic link at the path (even a dangling
// one) keeps pointing at the file that is written. An advisory lock on the folder makes a
// second copy of the program that writes at the same time wait, so neither update is lost.
// Returns false, leaving the file as it was, when:
// - the names or the value cannot be stored (CanStoreInProfile): a value holding CR or LF is
//   refused rather than allowed to break the file into lines of its own;
// - the path leads to something other than a regular file, the file cannot be read whole, or
//   it is not writable (a read-only settings file stays as it is);
// - the folder cannot be created or written, or the disk is full.
bool WriteProfileString(const std::string& profilePath, std::string_view section,
                        std::string_view key, std::string_view value);

// Stores all the settings in `section` with one replacement of the file, as WriteProfileString
// one after the other would, or none of them: false, changing nothing, when any of them
// cannot be stored or the write fails.
bool WriteProfileStrings(const std::string& profilePath, std::string_view section,
                         std::span<const ProfileSetting> settings);

// Where the profile file `fileName` lives: $XDG_CONFIG_HOME/<fileName>, or
// $HOME/.config/<fileName> when XDG_CONFIG_HOME is unset, empty or not an absolute path (the
// XDG rule); the account's home from the password database stands in for an unset or empty
// HOME. Empty when no home folder is known at all.
std::string ProfilePath(const std::string& fileName);

}  // namespace os
