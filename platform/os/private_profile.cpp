// SPDX-License-Identifier: MIT
#include "platform/os/private_profile.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/os/executable_path.h"
#include "platform/os/input_file.h"
#include "platform/os/profile_text.h"
#include "platform/os/replace_file.h"

namespace os {

namespace {

// The whole content of a regular file; none when it cannot be opened or read to its end.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    InputFile file;
    if (!file.Open(path)) {
        return std::nullopt;
    }
    std::string content;
    char chunk[16 * 1024];
    while (!file.Ended()) {
        content.append(chunk, file.Read(chunk, sizeof chunk));
    }
    if (file.Failed()) {
        return std::nullopt;
    }
    return content;
}

// Creates `folder` and its missing parents, like mkdir -p.
bool CreateFolders(const std::string& folder) {
    struct stat info {};
    if (folder.empty() || stat(folder.c_str(), &info) == 0) {
        return true;
    }
    for (auto slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

// The file a path leads to, so that updating it does not replace a symbolic link with a copy.
std::string FollowLinks(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string result(resolved);
    std::free(resolved);
    return result;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        return {};
    }
    return found->pw_dir;
}

std::string ConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return config;
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/.config";
}

}  // namespace

std::string ReadProfileString(const std::string& profilePath, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    const auto text = ReadWholeFile(profilePath);
    if (!text) {
        return std::string(defaultValue);
    }
    auto value = FindProfileValue(*text, section, key);
    if (!value) {
        return std::string(defaultValue);
    }
    if (value->size() > kMaxProfileReadLength) {
        value->resize(kMaxProfileReadLength);
    }
    return *value;
}

bool WriteProfileString(const std::string& profilePath, std::string_view section,
                        std::string_view key, std::string_view value) {
    if (profilePath.empty() || !CanStoreInProfile(section, key, value)) {
        return false;
    }
    const std::string path = FollowLinks(profilePath);
    std::string text;
    std::optional<mode_t> mode;
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode) || access(path.c_str(), W_OK) != 0) {
            return false;
        }
        auto old = ReadWholeFile(path);
        if (!old) {
            return false;
        }
        text = std::move(*old);
        mode = info.st_mode & 07777;
    } else if (errno != ENOENT || !CreateFolders(DirectoryOf(path))) {
        return false;
    }
    return ReplaceFileAtomically(path, WithProfileValue(text, section, key, value), mode);
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
