// SPDX-License-Identifier: MIT
// Report generation with the template's location given, for callers that know it.
#pragma once

#include <string>

#include "engine/generate_report.h"

// GenerateReport with the template read from `templatePath` instead of beside the executable.
GenerateOutcome GenerateReportFromTemplate(const std::string& templatePath,
                                           const std::string& pcgPath,
                                           const std::string& reportPath);
