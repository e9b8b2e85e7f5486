// SPDX-License-Identifier: MIT
#include "platform/os/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace os {

namespace {

// The XDG rule: a variable counts only when it holds an absolute path.
std::string XdgFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + underHome;
}

}  // namespace

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const long size = sysconf(_SC_GETPW_R_SIZE_MAX);
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
    return XdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string DataFolder() {
    return XdgFolder("XDG_DATA_HOME", "/.local/share");
}

}  // namespace os
