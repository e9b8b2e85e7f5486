// SPDX-License-Identifier: MIT
#include "platform/ui/initial_folder.h"

#include <filesystem>
#include <system_error>

#include "platform/os/path_names.h"

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
    std::string folder = os::DirectoryOf(path);
    if (folder.empty()) {
        return ".";
    }
    // The root keeps its '/'; any other folder is named without it.
    if (folder.size() > 1) {
        folder.pop_back();
    }
    return folder;
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
