// SPDX-License-Identifier: MIT
#include "platform/os/template_location.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/os/executable_path.h"
#include "platform/os/path_names.h"
#include "platform/os/user_folders.h"

namespace os {

namespace {

constexpr std::string_view kTemplateExtension = ".htm";

// Anything at all: a folder, a FIFO, a dangling link, or a path this user cannot look into.
bool SomethingIsAt(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

const ShippedLayout* ShippedNamed(std::string_view name) {
    for (const ShippedLayout& layout : kShippedLayouts) {
        if (layout.name == name) {
            return &layout;
        }
    }
    return nullptr;
}

bool IsShippedFile(std::string_view file) {
    return std::any_of(std::begin(kShippedLayouts), std::end(kShippedLayouts),
                       [file](const ShippedLayout& layout) { return layout.file == file; });
}

}  // namespace

std::string UserTemplateFolder() {
    const std::string data = DataFolder();
    return data.empty() ? std::string() : data + "/tabulon";
}

std::optional<TemplateLocation> FindLayout(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const ShippedLayout* shipped = ShippedNamed(name);
    const std::string file =
        shipped ? std::string(shipped->file) : std::string(name) + std::string(kTemplateExtension);
    // A user's file named like a shipped one's stands in for it; it is no layout of its own.
    if (!shipped && IsShippedFile(file)) {
        return std::nullopt;
    }
    const std::string folder = UserTemplateFolder();
    if (!folder.empty()) {
        const std::string own = folder + "/" + file;
        if (SomethingIsAt(own)) {
            return TemplateLocation{own, true, file};
        }
    }
    if (!shipped) {
        return std::nullopt;
    }
    const std::string executable = ExecutablePath();
    // Without the executable's folder there is no shipped template to find; never look
    // elsewhere.
    return TemplateLocation{executable.empty() ? std::string() : DirectoryOf(executable) + file,
                            false, file};
}

TemplateLocation FindReportTemplate() {
    return *FindLayout(kShippedLayouts[0].name);
}

std::vector<std::string> UserLayoutNames() {
    std::vector<std::string> names;
    const std::string folder = UserTemplateFolder();
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(
        folder.empty() ? nullptr : opendir(folder.c_str()), closedir);
    if (!dir) {
        return names;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view file = entry->d_name;
        struct stat info {};
        if (file.size() > kTemplateExtension.size() && file.ends_with(kTemplateExtension) &&
            !IsShippedFile(file) && stat((folder + "/" + entry->d_name).c_str(), &info) == 0 &&
            S_ISREG(info.st_mode)) {
            names.emplace_back(file.substr(0, file.size() - kTemplateExtension.size()));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace os
