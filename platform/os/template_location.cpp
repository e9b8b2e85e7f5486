// SPDX-License-Identifier: MIT
#include "platform/os/template_location.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/os/executable_path.h"
#include "platform/os/path_names.h"
#include "platform/os/user_folders.h"

namespace os {

namespace {

// Anything at all: a folder, a FIFO, a dangling link, or a path this user cannot look into.
bool SomethingIsAt(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

TemplateLocation FindTemplate(const char* name) {
    const std::string data = DataFolder();
    if (!data.empty()) {
        const std::string own = data + "/tabulon/" + name;
        if (SomethingIsAt(own)) {
            return {own, true, name};
        }
    }
    const std::string executable = ExecutablePath();
    // Without the executable's folder there is no shipped template to find; never look
    // elsewhere.
    return {executable.empty() ? std::string() : DirectoryOf(executable) + name, false, name};
}

}  // namespace

TemplateLocation FindReportTemplate() {
    return FindTemplate("template.htm");
}

TemplateLocation FindAllBanksTemplate() {
    return FindTemplate("all-banks.htm");
}

}  // namespace os
