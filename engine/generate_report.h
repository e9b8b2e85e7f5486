// SPDX-License-Identifier: MIT
// The program's one real job: a PCG file's patch names, filled into the template, as a report.
#pragma once

#include <string>

enum class OutcomeIcon { Warning, Information };

struct GenerateOutcome {
    bool succeeded;       // true only when the report file was written in full
    OutcomeIcon icon;     // Warning for every failure, Information for success
    std::string message;  // the exact text to show the user
};

// Fills the first 128 patch names of the PCG file at `pcgPath` into "template.htm" from the
// running executable's folder, under the keys PATCHNAME_000 to PATCHNAME_127, and writes the
// result to `reportPath`. Both paths are used exactly as given. Checks, in this order, each
// failing with its own message: the template can be loaded; neither path is empty; the PCG file
// can be read and holds bank chunks; the report file can be created (and is none of the
// inputs), written and closed. Nothing but the report path is ever written; no failure before
// the report is opened creates or changes it.
GenerateOutcome GenerateReport(const std::string& pcgPath, const std::string& reportPath);
