// SPDX-License-Identifier: MIT
#include "engine/generate_report.h"

#include <cerrno>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "engine/patch_name_value.h"
#include "engine/patch_reader.h"
#include "engine/pcg_tree_reader.h"
#include "engine/report_generation.h"
#include "engine/report_template.h"
#include "engine/slot_values.h"
#include "engine/template_loader.h"
#include "platform/os/file_commit.h"
#include "platform/os/file_identity.h"

namespace {

constexpr int kReportedNames = 128;

// Prepares where the report goes; it must never be one of `inputs`.
using OpenReport =
    std::function<bool(os::FileCommit& report, const std::vector<os::FileIdentity>& inputs)>;

std::vector<os::FileIdentity> InputsOf(const std::string& templatePath,
                                       const std::string& pcgPath) {
    std::vector<os::FileIdentity> inputs;
    for (const std::string* path : {&templatePath, &pcgPath}) {
        if (const auto identity = os::IdentityOf(*path)) {
            inputs.push_back(*identity);
        }
    }
    return inputs;
}

// The user's template is named by its path, a shipped one by its file name.
std::string NameInMessages(const os::TemplateLocation& templateFile) {
    return templateFile.usersOwn ? templateFile.path : templateFile.shippedName;
}

// The outcome for `status`, with `error` (0: none) as the system's reason about `path`.
GenerateOutcome Failure(GenerateStatus status, int error, const std::string& path,
                        const std::string& templateName = {}) {
    GenerateOutcome outcome = OutcomeOf(status, templateName);
    outcome.reason = SystemReason{error, error == 0 ? std::string() : path};
    return outcome;
}

GenerateOutcome ReportFailure(const os::FileCommit& report) {
    return Failure(GenerateStatus::ReportNotCreated, report.Error(), report.ErrorPath());
}

GenerateOutcome Generate(const os::TemplateLocation& templateFile, const std::string& pcgPath,
                         bool reportNamed, const OpenReport& openReport) {
    const GenerateStatus templateFailure = templateFile.usersOwn
                                               ? GenerateStatus::UserTemplateUnreadable
                                               : GenerateStatus::TemplateMissing;
    // Memory runs out only for a template far beyond any report's needs (several times the
    // machine's memory); that is a failure of the template, never an abort.
    try {
        errno = 0;
        std::optional<std::string> templateText = LoadTemplateText(templateFile.path);
        if (!templateText) {
            return Failure(templateFailure, errno, templateFile.path, NameInMessages(templateFile));
        }

        if (!reportNamed || pcgPath.empty()) {
            return OutcomeOf(GenerateStatus::NamesMissing);
        }

        CPatchTable table;
        table.errorText[0] = '\0';
        if (const PcgReadStatus read = ReadPatchNamesWithReason(pcgPath, table, kReportedNames);
            read != PcgReadStatus::Read) {
            return OutcomeOfRead(read, errno, pcgPath);
        }

        os::FileCommit report;
        if (!openReport(report, InputsOf(templateFile.path, pcgPath))) {
            return ReportFailure(report);
        }

        CReportTemplate reportTemplate;
        reportTemplate.SetTemplate(std::move(*templateText));
        // The keys "PATCHNAME_%03d", written digit by digit.
        std::string key = "PATCHNAME_000";
        for (int j = 0; j < kReportedNames; ++j) {
            key[10] = static_cast<char>('0' + j / 100);
            key[11] = static_cast<char>('0' + j / 10 % 10);
            key[12] = static_cast<char>('0' + j % 10);
            reportTemplate.SetValue(
                key, PatchNameValue(table.entries[static_cast<std::size_t>(j)].name));
        }
        reportTemplate.SetValue("PCG_FILE_NAME", PcgFileNameValue(pcgPath));
        // The whole file is read a second time, and only for templates that show more than
        // the first 128 names, whose rules stay the reader's above.
        PcgContents contents;  // what the template shows of the whole file, until rendered
        if (const SlotKeysUsed used = SlotKeysIn(reportTemplate); used.Any()) {
            contents = ReadPcgContents(pcgPath).contents;
            SetSlotValues(contents, used, reportTemplate);
        }
        // Straight to the file: the report is never held whole beside the template.
        reportTemplate.Render([&report](std::string_view piece) { report.Write(piece); });
        if (!report.Commit()) {
            return ReportFailure(report);
        }
        return OutcomeOf(GenerateStatus::Succeeded);
    } catch (const std::bad_alloc&) {
        return Failure(templateFailure, ENOMEM, templateFile.path, NameInMessages(templateFile));
    } catch (const std::length_error&) {
        return Failure(templateFailure, ENOMEM, templateFile.path, NameInMessages(templateFile));
    }
}

}  // namespace

GenerateOutcome OutcomeOf(GenerateStatus status, const std::string& templateName) {
    const auto failure = [status](std::string message) {
        return GenerateOutcome{false, OutcomeIcon::Warning, std::move(message), status};
    };
    switch (status) {
        case GenerateStatus::Succeeded:
            return {true, OutcomeIcon::Information, "Successfully generated report", status};
        case GenerateStatus::TemplateMissing:
            return failure("Couldn't find the template file " +
                           (templateName.empty() ? "template.htm" : templateName) +
                           ". This file should be in the same directory as the application. "
                           "Check your installation");
        case GenerateStatus::UserTemplateUnreadable:
            return failure("Couldn't read your template file " + templateName + ".");
        case GenerateStatus::NamesMissing:
            return failure(
                "You need to enter the name of the PCG file to read, and the name for the report "
                "file, before I can generate anything ;-)");
        case GenerateStatus::PcgMissing:
            return failure(std::string("Error : ") + kPcgMissingText + ".");
        case GenerateStatus::PcgInvalid:
            return failure(std::string("Error : ") + kPcgBadHeadersText + ".");
        case GenerateStatus::NoPatches:
            return failure(
                "I couldn't find any patches in that PCG, so I can't generate a report !");
        case GenerateStatus::ReportNotCreated:
            break;
    }
    return failure("I could not create the report file, please check the file name is valid.");
}

GenerateOutcome OutcomeOfRead(PcgReadStatus status, int error, const std::string& pcgPath) {
    switch (status) {
        case PcgReadStatus::CannotOpen:
            return Failure(GenerateStatus::PcgMissing, error, pcgPath);
        case PcgReadStatus::BadHeaders:
            return OutcomeOf(GenerateStatus::PcgInvalid);
        case PcgReadStatus::NoBanks:
        case PcgReadStatus::Read:
            break;
    }
    return OutcomeOf(GenerateStatus::NoPatches);
}

GenerateOutcome GenerateReportFromTemplate(const os::TemplateLocation& templateFile,
                                           const std::string& pcgPath,
                                           const std::string& reportPath,
                                           const os::FileIdentitySet& keepAlso) {
    return Generate(templateFile, pcgPath, !reportPath.empty(),
                    [&](os::FileCommit& report, const auto& inputs) {
                        os::FileCommit::Options options;
                        options.keep = inputs;
                        options.alsoKeep = &keepAlso;
                        options.writeStreams = true;
                        return report.Begin(reportPath, options);
                    });
}

GenerateOutcome GenerateReportFromTemplate(const std::string& templatePath,
                                           const std::string& pcgPath,
                                           const std::string& reportPath) {
    return GenerateReportFromTemplate(os::TemplateLocation{templatePath, false}, pcgPath,
                                      reportPath);
}

GenerateOutcome GenerateReportToStream(const os::TemplateLocation& templateFile,
                                       const std::string& pcgPath, int fd) {
    return Generate(templateFile, pcgPath, true, [fd](os::FileCommit& report, const auto& inputs) {
        return report.BeginOn(fd, inputs);
    });
}

GenerateOutcome GenerateReport(const std::string& pcgPath, const std::string& reportPath) {
    return GenerateReportFromTemplate(os::FindReportTemplate(), pcgPath, reportPath);
}
