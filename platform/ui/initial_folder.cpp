// SPDX-License-Identifier: MIT
#include "platform/ui/initial_folder.h"

#include <filesystem>
#include <system_error>

namespace ui {

namespace {

namespace fs = std::filesystem;

bool IsFolder(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

std::string Absolute(const std::string& path) {
    std::error_code error;
    std::string absolute = fs::absolute(path, error).lexically_normal().string();
    if (error) {
        absolute = path;
    }
    while (absolute.size() > 1 && absolute.back() == '/') {
        absolute.pop_back();
    }
    return absolute;
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
    if (path.empty() || IsFolder(path)) {
        return path;
    }
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string InitialFolder(const std::string& requested, const std::string& lastUsed,
                          const std::string& home) {
    for (const std::string* candidate : {&requested, &lastUsed}) {
        if (IsFolder(*candidate)) {
            return Absolute(*candidate);
        }
    }
    return Absolute(home);
}

}  // namespace ui
