// SPDX-License-Identifier: MIT
// Reports of many PCG files into one folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/os/template_location.h"

// The report's file name for a PCG file: its name without folders, with its last extension
// replaced by ".htm" (or ".htm" added when it has none).
std::string ReportNameFor(const std::string& pcgPath);

// Makes the report of each PCG file in `folder` (created, with its parents, when missing), in
// order, going on past a file that fails. A report name that an earlier file of the run has
// taken is refused rather than overwritten, and no report may be one of the inputs. Each
// failure goes to `failed` with the PCG path and the reason; when the template itself cannot
// be read, that is reported once and nothing more is tried. True when every report was made.
bool MakeReports(
    const os::TemplateLocation& templateFile, const std::string& folder,
    const std::vector<std::string>& pcgPaths,
    const std::function<void(const std::string& pcgPath, const std::string& why)>& failed);
