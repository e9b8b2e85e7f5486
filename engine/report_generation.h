// SPDX-License-Identifier: MIT
// Report generation with the template's location given, for callers that know it.
#pragma once

#include <string>

#include "engine/generate_report.h"
#include "platform/os/file_identity.h"
#include "platform/os/template_location.h"

// GenerateReport with the template read from `templateFile` instead of looked up. The report
// must not be any of `keepAlso` either (a batch's other inputs and the reports it has made),
// which is looked up, never copied, so a batch's cost per report does not grow with its size.
GenerateOutcome GenerateReportFromTemplate(const os::TemplateLocation& templateFile,
                                           const std::string& pcgPath,
                                           const std::string& reportPath,
                                           const os::FileIdentitySet& keepAlso = {});

// GenerateReport with the report's bytes going to `fd` (an open file, pipe or terminal, such
// as standard output) instead of a file it creates. `fd` is written only on success, and
// never closed.
GenerateOutcome GenerateReportToStream(const os::TemplateLocation& templateFile,
                                       const std::string& pcgPath, int fd);
