// SPDX-License-Identifier: MIT
#include "engine/generate_report.h"

#include <cerrno>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "engine/decimal_digits.h"
#include "engine/patch_name_value.h"
#include "engine/pcg_reading.h"
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

void SetPatchNames(const CPatchTable& table, CReportTemplate& reportTemplate) {
    std::string key = "PATCHNAME_000";
    for (int j = 0; j < kReportedNames; ++j) {
        WriteDecimal(static_cast<std::uint32_t>(j), 3, key.data() + 10);
        reportTemplate.SetValue(key,
                                PatchNameValue(table.entries[static_cast<std::size_t>(j)].name));
    }
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

        CReportTemplate reportTemplate;
        reportTemplate.SetTemplate(std::move(*templateText));
        const TemplateKeys used = TemplateKeysIn(reportTemplate);
        const bool classic = !used.WholeFile() || used.patchNames;
        const PcgReading reading =
            ReadPcg(pcgPath, {classic ? PcgRules::Classic : PcgRules::WholeFile, kReportedNames,
                              used.WholeFile(), used.FirstProgramsOnly() ? kPatchSlots : 0});
        if (reading.status != PcgReadStatus::Read) {
            return OutcomeOfRead(reading.status, reading.error, pcgPath);
        }
        if (!classic && reading.contents.slots.empty()) {
            return OutcomeOf(GenerateStatus::NoPatches);
        }

        os::FileCommit report;
        if (!openReport(report, InputsOf(templateFile.path, pcgPath))) {
            return ReportFailure(report);
        }

        if (classic) {
            SetPatchNames(reading.names, reportTemplate);
        }
        const std::string fileName = PcgFileNameValue(pcgPath);
        reportTemplate.SetValue("PCG_FILE_NAME", fileName);
        SetSlotValues(reading.contents, used, fileName, reportTemplate);
        // Straight to the file: the report is never held whole beside the template.
        reportTemplate.Render([&report](std::string_view piece) { report.Write(piece); });
        if (!report.Commit()) {
            return ReportFailure(report);
        }
        GenerateOutcome outcome = OutcomeOf(GenerateStatus::Succeeded);
        outcome.shortfall = reading.contents.shortfall;
        outcome.slotsRead = reading.contents.slots.size();
        return outcome;
    } catch (const std::bad_alloc&) {
        return Failure(templateFailure, ENOMEM, templateFile.path, NameInMessages(templateFile));
    } catch (const std::length_error&) {
        return Failure(templateFailure, ENOMEM, templateFile.path, NameInMessages(templateFile));
    }
}

}  // namespace

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

GenerateOutcome GenerateReportToStream(const os::TemplateLocation& templateFile,
                                       const std::string& pcgPath, int fd) {
    return Generate(templateFile, pcgPath, true, [fd](os::FileCommit& report, const auto& inputs) {
        return report.BeginOn(fd, inputs);
    });
}

GenerateOutcome GenerateReport(const std::string& pcgPath, const std::string& reportPath) {
    return GenerateReportFromTemplate(os::FindReportTemplate(), pcgPath, reportPath);
}
