// SPDX-License-Identifier: MIT
// The program's one real job: a PCG file's patch names, filled into the template, as a report.
#pragma once

#include <string>

#include "engine/generate_outcome.h"

// Fills the first 128 patch names of the PCG file at `pcgPath` into the template, under the
// keys PATCHNAME_000 to PATCHNAME_127, the file's name under PCG_FILE_NAME and, for
// templates that use them, what the whole file holds (SetSlotValues), and writes the result
// to `reportPath`. The template is the user's own when there is one, else "template.htm" from
// the running executable's folder (os::FindReportTemplate). Both paths are used exactly as
// given. Checks, in this order, each failing with its own message: the template can be
// loaded; neither path is empty; the PCG file can be read and holds bank chunks; the report
// file can be created (and is none of the inputs), written and put in place. The report is
// replaced whole or not at all (os::FileCommit): no failure creates or changes it, and nothing
// but the report is written.
//
// The PCG file is opened once. A template that shows whole-file keys and none of the 128
// PATCHNAME keys is judged by the whole file's rules (PcgRules::WholeFile): any file that
// holds a slot of any kind is reported. Every other template is judged by the classic rules,
// and a template without whole-file keys makes the file be read no further than they go.
GenerateOutcome GenerateReport(const std::string& pcgPath, const std::string& reportPath);
