// SPDX-License-Identifier: MIT
#include "cli/batch.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "cli/quoted_name.h"
#include "engine/report_generation.h"
#include "platform/os/create_folders.h"
#include "platform/os/file_identity.h"
#include "platform/os/path_names.h"

std::string ReportNameFor(const std::string& pcgPath) {
    return os::WithExtension(os::FileNameOf(pcgPath), ".htm");
}

bool MakeReports(const os::TemplateLocation& templateFile, const std::string& folder,
                 const std::vector<std::string>& pcgPaths,
                 const std::function<void(const std::string&, const std::string&)>& failed) {
    if (!os::CreateFolders(folder, 0777)) {
        failed(folder, std::string("cannot make the folder: ") + std::strerror(errno));
        return false;
    }
    // Every input is kept from being written, not only the one being reported, and so is every
    // report once made. One set for the run, looked up per report: the cost of each report does
    // not grow with the size of the batch.
    os::FileIdentitySet kept;
    for (const std::string& pcg : pcgPaths) {
        if (const auto identity = os::IdentityOf(pcg)) {
            kept.insert(*identity);
        }
    }
    // Which PCG file (its index) took each report name, and made each report file. Names alone
    // miss a link to an earlier report, or a name that differs only in case on a file system
    // that ignores case; the files' identities do not.
    std::unordered_map<std::string, std::size_t> names;
    std::unordered_map<os::FileIdentity, std::size_t, os::FileIdentityHash> made;
    bool allMade = true;
    for (std::size_t k = 0; k < pcgPaths.size(); ++k) {
        const std::string& pcg = pcgPaths[k];
        const std::string name = ReportNameFor(pcg);
        const std::string report = folder + (folder.ends_with('/') ? "" : "/") + name;
        std::optional<std::size_t> earlier;
        if (const auto [taken, isNew] = names.emplace(name, k); !isNew) {
            earlier = taken->second;
        } else if (const auto identity = os::IdentityOf(report)) {
            if (const auto found = made.find(*identity); found != made.end()) {
                earlier = found->second;
            }
        }
        if (earlier) {
            failed(pcg, "not written: " + QuotedName(report) + " is the report of " +
                            QuotedName(pcgPaths[*earlier]) + " in this run");
            allMade = false;
            continue;
        }
        const GenerateOutcome outcome = GenerateReportFromTemplate(templateFile, pcg, report, kept);
        if (outcome.succeeded) {
            if (const auto identity = os::IdentityOf(report)) {
                kept.insert(*identity);
                made.emplace(*identity, k);
            }
            if (outcome.shortfall) {
                failed(pcg, ShortfallLine(outcome.shortfall, outcome.slotsRead, "reported"));
                allMade = false;
            }
        } else {
            allMade = false;
            if (const std::string why = FailureText(outcome, templateFile.path, QuotedWhenNeeded);
                !why.empty()) {
                failed(pcg, why);
            }
        }
        if (outcome.status == GenerateStatus::TemplateMissing ||
            outcome.status == GenerateStatus::UserTemplateUnreadable) {
            break;  // every other file would fail the same way
        }
    }
    return allMade;
}
