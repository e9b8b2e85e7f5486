// SPDX-License-Identifier: MIT
#include "cli/batch.h"

#include <cerrno>
#include <cstring>
#include <map>

#include "engine/report_generation.h"
#include "platform/os/create_folders.h"
#include "platform/os/executable_name.h"
#include "platform/os/file_identity.h"

std::string ReportNameFor(const std::string& pcgPath) {
    const auto slash = pcgPath.rfind('/');
    return os::WithExtension(pcgPath.substr(slash == std::string::npos ? 0 : slash + 1), ".htm");
}

bool MakeReports(const os::TemplateLocation& templateFile, const std::string& folder,
                 const std::vector<std::string>& pcgPaths,
                 const std::function<void(const std::string&, const std::string&)>& failed) {
    if (!os::CreateFolders(folder, 0777)) {
        failed(folder, std::string("cannot make the folder: ") + std::strerror(errno));
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
