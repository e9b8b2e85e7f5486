// SPDX-License-Identifier: MIT
// The settings that outlive a run: string values by section and key in the program's profile.
#pragma once

#include <string>
#include <utility>
#include <vector>

// The value stored under `key` in `section`, cut to its first 4095 bytes; `defaultValue` when
// the file, the section or the key is missing. Never creates the file.
std::string ReadSetting(const std::string& section, const std::string& key,
                        const std::string& defaultValue);

// Stores the whole `value` under `key` in `section`, creating the file, the section or the
// key as needed. False when it could not be stored; the file then stays as it was.
bool WriteSetting(const std::string& section, const std::string& key, const std::string& value);

// Stores every (key, value) pair in `section` with one replacement of the file, as WriteSetting
// one after the other would, or none of them: false, changing nothing, when any value cannot
// be stored (one holding CR, LF or NUL) or the write fails. Values that belong together stay
// a pair.
bool WriteSettings(const std::string& section,
                   const std::vector<std::pair<std::string, std::string>>& keysAndValues);

// The profile file: "<executable name>.INI" in the user's configuration folder (see
// os::ProfilePath). The executable name is taken once, when the process starts, so renaming
// the program while it runs does not move its settings; the folder follows the environment.
std::string SettingsFilePath();
