// SPDX-License-Identifier: MIT
#include "app/settings_store.h"

#include "platform/os/executable_path.h"
#include "platform/os/path_names.h"
#include "platform/os/private_profile.h"

namespace {

const std::string& ExecutableNameAtStart() {
    static const std::string name = os::StemOf(os::ExecutablePath());
    return name;
}

// Takes the name while the process starts rather than at the first read, which may come
// after the executable has been renamed.
[[maybe_unused]] const bool kNameTaken = !ExecutableNameAtStart().empty();

}  // namespace

std::string SettingsFilePath() {
    return os::ProfilePath(ExecutableNameAtStart() + ".INI");
}

std::string ReadSetting(const std::string& section, const std::string& key,
                        const std::string& defaultValue) {
    return os::ReadProfileString(SettingsFilePath(), section, key, defaultValue);
}

bool WriteSetting(const std::string& section, const std::string& key, const std::string& value) {
    return os::WriteProfileString(SettingsFilePath(), section, key, value);
}

bool WriteSettings(const std::string& section,
                   const std::vector<std::pair<std::string, std::string>>& keysAndValues) {
    std::vector<os::ProfileSetting> settings;
    for (const auto& [key, value] : keysAndValues) {
        settings.push_back({key, value});
    }
    return os::WriteProfileStrings(SettingsFilePath(), section, settings);
}
