// SPDX-License-Identifier: MIT
#include "cli/batch.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <map>

#include "engine/report_generation.h"
#include "platform/os/executable_name.h"
#include "platform/os/file_identity.h"

namespace {

// Creates `folder` and its missing parents, like mkdir -p; the reason when it cannot.
std::string CreateFolders(const std::string& folder) {
    for (auto slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
            return std::strerror(errno);
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return "not a folder";
    }
    return {};
}

}  // namespace

std::string ReportNameFor(const std::string& pcgPath) {
    const auto slash = pcgPath.rfind('/');
    return os::WithExtension(pcgPath.substr(slash == std::string::npos ? 0 : slash + 1), ".htm");
}

bool MakeReports(const os::TemplateLocation& templateFile, const std::string& folder,
                 const std::vector<std::string>& pcgPaths,
                 const std::function<void(const std::string&, const std::string&)>& failed) {
    if (const std::string why = CreateFolders(folder); !why.empty()) {
        failed(folder, "cannot make the folder: " + why);
        return false;
    }
    // Every input is kept from being written, not only the one being reported.
    std::vector<os::FileIdentity> inputs;
    for (const std::string& pcg : pcgPaths) {
        if (const auto identity = os::IdentityOf(pcg)) {
            inputs.push_back(*identity);
        }
    }
    std::map<std::string, const std::string*> taken;
    bool allMade = true;
    for (const std::string& pcg : pcgPaths) {
        const std::string name = ReportNameFor(pcg);
        const std::string report = folder + (folder.ends_with('/') ? "" : "/") + name;
        const auto [earlier, isNew] = taken.emplace(name, &pcg);
        if (!isNew) {
            failed(pcg, "not written: " + report + " is the report of " + *earlier->second +
                            " in this run");
            allMade = false;
            continue;
        }
        const GenerateOutcome outcome =
            GenerateReportFromTemplate(templateFile, pcg, report, inputs);
        if (!outcome.succeeded) {
            failed(pcg, outcome.message);
            allMade = false;
        }
        if (outcome.status == GenerateStatus::TemplateMissing ||
            outcome.status == GenerateStatus::UserTemplateUnreadable) {
            break;  // every other file would fail the same way
        }
    }
    return allMade;
}
