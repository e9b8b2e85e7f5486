// SPDX-License-Identifier: MIT
#include "engine/generate_outcome.h"

#include <cerrno>
#include <cstring>

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
        case PcgReadStatus::CannotOpen: {
            GenerateOutcome outcome = OutcomeOf(GenerateStatus::PcgMissing);
            outcome.reason = SystemReason{error, error == 0 ? std::string() : pcgPath};
            return outcome;
        }
        case PcgReadStatus::BadHeaders:
            return OutcomeOf(GenerateStatus::PcgInvalid);
        case PcgReadStatus::NoBanks:
        case PcgReadStatus::Read:
            break;
    }
    return OutcomeOf(GenerateStatus::NoPatches);
}

std::string ReasonText(const SystemReason& reason, const NameQuoting& quote) {
    if (reason.error == 0) {
        return {};
    }
    const std::string about = reason.path.empty() ? "standard output" : quote(reason.path);
    return about + ": " + std::strerror(reason.error);
}

std::string FailureText(const GenerateOutcome& outcome, const std::string& templatePath,
                        const NameQuoting& quote) {
    const SystemReason& reason = outcome.reason;
    if (reason.error == EPIPE) {
        return {};
    }
    const bool missing = reason.error == 0 || reason.error == ENOENT || reason.error == ENOTDIR;
    std::string text = outcome.status == GenerateStatus::PcgMissing && !missing
                           ? "Error : The named PCG file cannot be read !."
                           : OutcomeOf(outcome.status, quote(templatePath)).message;
    if (reason.error != 0) {
        text += " (" + ReasonText(reason, quote) + ")";
    }
    return text;
}

std::string ShortfallLine(const PcgShortfall& shortfall, std::size_t slotsRead,
                          std::string_view what) {
    return ShortfallText(shortfall) + "; " + std::to_string(slotsRead) + " slots " +
           std::string(what);
}
