// SPDX-License-Identifier: MIT
#include "platform/os/private_profile.h"

#include <optional>

#include "platform/os/create_folders.h"
#include "platform/os/file_commit.h"
#include "platform/os/input_file.h"
#include "platform/os/path_names.h"
#include "platform/os/profile_text.h"
#include "platform/os/user_folders.h"

namespace os {

namespace {

// The whole content of a regular file; none when it cannot be opened or read to its end.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    InputFile file;
    std::string content;
    // A file larger than memory (a sparse one, say) reads as no file at all.
    if (!file.Open(path) || !file.ReadRest(content)) {
        return std::nullopt;
    }
    return content;
}

}  // namespace

std::string ReadProfileString(const std::string& profilePath, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    const auto text = ReadWholeFile(profilePath);
    if (!text) {
        return std::string(defaultValue);
    }
    const auto value = FindProfileValue(*text, section, key);
    if (!value) {
        return std::string(defaultValue);
    }
    return std::string(value->substr(0, kMaxProfileReadLength));
}

bool WriteProfileString(const std::string& profilePath, std::string_view section,
                        std::string_view key, std::string_view value) {
    const ProfileSetting setting{key, value};
    return WriteProfileStrings(profilePath, section, {&setting, 1});
}

bool WriteProfileStrings(const std::string& profilePath, std::string_view section,
                         std::span<const ProfileSetting> settings) {
    if (profilePath.empty() || settings.empty()) {
        return false;
    }
    for (const ProfileSetting& setting : settings) {
        if (!CanStoreInProfile(section, setting.key, setting.value)) {
            return false;
        }
    }
    FileCommit file;
    FileCommit::Options options;
    options.lockFolder = true;
    if (!file.Begin(profilePath, options)) {
        // The first write may need the folder; a second attempt tells whether that was all.
        if (!CreateFolders(DirectoryOf(profilePath), 0700) || !file.Begin(profilePath, options)) {
            return false;
        }
    }
    // Read under the lock, so that an update another copy of the program made meanwhile is
    // kept; the new text is written piece by piece from the old one, never held twice.
    // A file too large to read into memory fails here and stays as it was.
    std::string text;
    if (!file.ReadCurrent(text)) {
        return false;
    }
    std::size_t at = 0;
    for (const TextEdit& edit : ProfileEdits(text, section, settings)) {
        file.Write(std::string_view(text).substr(at, edit.begin - at));
        file.Write(edit.text);
        at = edit.end;
    }
    file.Write(std::string_view(text).substr(at));
    return file.Commit();
}

std::string ProfilePath(const std::string& fileName) {
    std::string folder = ConfigFolder();
    if (folder.empty()) {
        return {};
    }
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder + fileName;
}

}  // namespace os
