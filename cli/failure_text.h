// SPDX-License-Identifier: MIT
// What the command line says of a report that failed.
#pragma once

#include <string>

#include "engine/generate_report.h"

// The engine's message for a failed `outcome`, as the window shows it, with the names in it
// quoted and the system's reason added as coreutils does: "... is valid. (r.htm: No space left
// on device)". A PCG file that is there but cannot be read (a folder, no permission) is not
// said to be missing. Empty when there is nothing to tell: the reader of the report left early
// (a broken pipe), which is its own choice.
std::string FailureText(const GenerateOutcome& outcome, const std::string& templatePath);
