// SPDX-License-Identifier: MIT
#include "cli/failure_text.h"

#include <cerrno>
#include <cstring>

#include "cli/quoted_name.h"

std::string FailureText(const GenerateOutcome& outcome, const std::string& templatePath) {
    const SystemReason& reason = outcome.reason;
    if (reason.error == EPIPE) {
        return {};
    }
    std::string text = OutcomeOf(outcome.status, QuotedName(templatePath)).message;
    const bool missing = reason.error == 0 || reason.error == ENOENT || reason.error == ENOTDIR;
    if (outcome.status == GenerateStatus::PcgMissing && !missing) {
        text = "Error : The named PCG file cannot be read !.";
    }
    if (reason.error != 0) {
        const std::string about = reason.path.empty() ? "standard output" : QuotedName(reason.path);
        text += " (" + about + ": " + std::strerror(reason.error) + ")";
    }
    return text;
}
