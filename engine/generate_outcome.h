// SPDX-License-Identifier: MIT
// What one Generate hands back, and every text told of it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "engine/patch_reader.h"
#include "engine/pcg_contents.h"

enum class OutcomeIcon { Warning, Information };

// What happened, as a value a program can act on; the message is derived from it.
enum class GenerateStatus {
    Succeeded,               // the report was written in full and is in place
    TemplateMissing,         // the shipped template cannot be read (or memory ran out)
    UserTemplateUnreadable,  // the user's own template, or one they named, cannot be read
    NamesMissing,            // the PCG path or the report path is empty
    PcgMissing,              // the PCG file cannot be opened as a regular file
    PcgInvalid,              // the PCG file is too short or its headers are wrong
    NoPatches,               // the PCG file holds no bank chunk (no slot, for whole-file keys)
    ReportNotCreated,        // the report cannot be created or written, or is an input
};

// What the system said when it refused a file, for callers that show more than the message:
// an errno value and the path it concerns.
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
    // A report that showed the whole file but could not read all of it (a file cut short):
    // why, and how many slots it did read. The report is made all the same.
    PcgShortfall shortfall{};
    std::size_t slotsRead = 0;
};

// The outcome for `status`: succeeded, icon and message follow from it. `templateName` is the
// template a UserTemplateUnreadable message names (its path), or the shipped template a
// TemplateMissing message names ("template.htm" when none is given).
GenerateOutcome OutcomeOf(GenerateStatus status, const std::string& templateName = {});

// The failure a reading of the PCG file at `pcgPath` that ended in `status` (anything but
// Read) comes to; for a file that could not be opened, `error` is the system's reason.
GenerateOutcome OutcomeOfRead(PcgReadStatus status, int error, const std::string& pcgPath);

// How a caller shows a name inside a text (quoted for a terminal, say).
using NameQuoting = std::function<std::string(std::string_view name)>;

// The system's reason as a text, "/full/r.htm: No space left on device" ("standard output"
// for a descriptor the caller gave); empty when the system gave none.
std::string ReasonText(const SystemReason& reason, const NameQuoting& quote);

// A failed `outcome` told in one line, as a command line tells it: the message with the
// template's name (`templatePath`) quoted, then the system's reason in brackets, as coreutils
// adds it: "... is valid. (r.htm: No space left on device)". A PCG file that is there but
// cannot be read (a folder, no permission) is not said to be missing. Empty when there is
// nothing to tell: the reader of the report left early (a broken pipe), which is its own choice.
std::string FailureText(const GenerateOutcome& outcome, const std::string& templatePath,
                        const NameQuoting& quote);

// What a reading that fell short read, in one line: "the file ends at byte 1000000, its
// chunks say 2352456; 1869 slots listed", `what` saying what was done with them ("listed").
std::string ShortfallLine(const PcgShortfall& shortfall, std::size_t slotsRead,
                          std::string_view what);
