// SPDX-License-Identifier: MIT
#include "engine/generate_report.h"

#include <optional>

#include "engine/patch_name_value.h"
#include "engine/patch_reader.h"
#include "engine/report_generation.h"
#include "engine/report_template.h"
#include "engine/template_loader.h"
#include "platform/os/executable_path.h"
#include "platform/os/file_identity.h"
#include "platform/os/output_file.h"

namespace {

constexpr char kTemplateMissing[] =
    "Couldn't find the template file template.htm. This file should be in the same directory "
    "as the application. Check your installation";
constexpr char kNamesMissing[] =
    "You need to enter the name of the PCG file to read, and the name for the report file, "
    "before I can generate anything ;-)";
constexpr char kNoPatches[] =
    "I couldn't find any patches in that PCG, so I can't generate a report !";
constexpr char kReportNotCreated[] =
    "I could not create the report file, please check the file name is valid.";
constexpr char kSucceeded[] = "Successfully generated report";

constexpr int kReportedNames = 128;

GenerateOutcome Failure(std::string message) {
    return {false, OutcomeIcon::Warning, std::move(message)};
}

// True when `reportPath` leads to one of the files the report is made from: writing it would
// destroy that input.
bool NamesAnInput(const std::string& reportPath, const std::string& templatePath,
                  const std::string& pcgPath) {
    const auto report = os::IdentityOf(reportPath);
    return report && (report == os::IdentityOf(pcgPath) || report == os::IdentityOf(templatePath));
}

}  // namespace

GenerateOutcome GenerateReportFromTemplate(const std::string& templatePath,
                                           const std::string& pcgPath,
                                           const std::string& reportPath) {
    std::optional<std::string> templateText = LoadTemplateText(templatePath);
    if (!templateText) {
        return Failure(kTemplateMissing);
    }

    if (reportPath.empty() || pcgPath.empty()) {
        return Failure(kNamesMissing);
    }

    CPatchTable table;
    table.errorText[0] = '\0';
    switch (ReadPatchNames(pcgPath, table)) {
        case ReadOutcome::Failed:
            return Failure("Error : " + std::string(table.errorText.data()) + ".");
        case ReadOutcome::NoBanks:
            return Failure(kNoPatches);
        case ReadOutcome::Read:
            break;
    }

    os::OutputFile report;
    if (NamesAnInput(reportPath, templatePath, pcgPath) || !report.Create(reportPath)) {
        return Failure(kReportNotCreated);
    }

    CReportTemplate reportTemplate;
    reportTemplate.SetTemplate(std::move(*templateText));
    // The keys "PATCHNAME_%03d", written digit by digit.
    std::string key = "PATCHNAME_000";
    for (int j = 0; j < kReportedNames; ++j) {
        key[10] = static_cast<char>('0' + j / 100);
        key[11] = static_cast<char>('0' + j / 10 % 10);
        key[12] = static_cast<char>('0' + j % 10);
        reportTemplate.SetValue(key,
                                PatchNameValue(table.entries[static_cast<std::size_t>(j)].name));
    }

    std::string output;
    reportTemplate.Render(output);
    const bool written = report.Write(output.data(), output.size());
    if (!report.Close() || !written) {
        return Failure(kReportNotCreated);
    }
    return {true, OutcomeIcon::Information, kSucceeded};
}

GenerateOutcome GenerateReport(const std::string& pcgPath, const std::string& reportPath) {
    const std::string executable = os::ExecutablePath();
    // Without the executable's folder there is no template to find; never look elsewhere.
    const std::string templatePath =
        executable.empty() ? std::string() : os::DirectoryOf(executable) + "template.htm";
    return GenerateReportFromTemplate(templatePath, pcgPath, reportPath);
}
