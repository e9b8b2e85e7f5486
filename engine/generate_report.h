// SPDX-License-Identifier: MIT
// The program's one real job: a PCG file's patch names, filled into the template, as a report.
#pragma once

#include <string>

#include "engine/patch_reader.h"

enum class OutcomeIcon { Warning, Information };

// What happened, as a value a program can act on; the message is derived from it.
enum class GenerateStatus {
    Succeeded,               // the report was written in full and is in place
    TemplateMissing,         // the shipped template cannot be read (or memory ran out)
    UserTemplateUnreadable,  // the user's own template, or one they named, cannot be read
    NamesMissing,            // the PCG path or the report path is empty
    PcgMissing,              // the PCG file cannot be opened as a regular file
    PcgInvalid,              // the PCG file is too short or its headers are wrong
    NoPatches,               // the PCG file holds no bank chunk
    ReportNotCreated,        // the report cannot be created or written, or is an input
};

// What the system said when it refused a file, for callers that show more than the message
// (the command line): an errno value and the path it concerns.
struct SystemReason {
    int error = 0;     // 0 when the system gave no reason (an invalid header, an input as report)
    std::string path;  // the file it concerns (a report: where its links led); empty for a
                       // descriptor the caller gave
};

struct GenerateOutcome {
    bool succeeded;         // true only when the report file was written in full
    OutcomeIcon icon;       // Warning for every failure, Information for success
    std::string message;    // the exact text to show the user
    GenerateStatus status;  // what the message says, for programs
    SystemReason reason{};  // beside the message, never part of it
};

// The outcome for `status`: succeeded, icon and message follow from it. `templateName` is the
// template a UserTemplateUnreadable message names (its path), or the shipped template a
// TemplateMissing message names ("template.htm" when none is given).
GenerateOutcome OutcomeOf(GenerateStatus status, const std::string& templateName = {});

// The failure a reading of the PCG file at `pcgPath` that ended in `status` (anything but
// Read) comes to; for a file that could not be opened, `error` is the system's reason.
GenerateOutcome OutcomeOfRead(PcgReadStatus status, int error, const std::string& pcgPath);

// Fills the first 128 patch names of the PCG file at `pcgPath` into the template, under the
// keys PATCHNAME_000 to PATCHNAME_127, the file's name under PCG_FILE_NAME and, for
// templates that use them, the names of every slot of the file (SetSlotValues), and writes
// the result to `reportPath`. The template is
// the user's own when there is one, else "template.htm" from the running executable's folder
// (os::FindReportTemplate). Both paths are used exactly as given. Checks, in this order, each
// failing with its own message: the template can be loaded; neither path is empty; the PCG file
// can be read and holds bank chunks; the report file can be created (and is none of the
// inputs), written and put in place. The report is replaced whole or not at all
// (os::FileCommit): no failure creates or changes it, and nothing but the report is written.
GenerateOutcome GenerateReport(const std::string& pcgPath, const std::string& reportPath);
