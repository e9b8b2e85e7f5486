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
// order, going on past a file that fails. A report that would replace one the run has made
// (the same name, or another name that leads to the same file: a link, a file system that
// ignores case) is refused, and no report may be one of the inputs. Each failure goes to
// `failed` with the PCG path and the text to show (names quoted), but for a report whose reader
// left early, which fails silently; when the template itself cannot be read, that is reported
// once and nothing more is tried. A report made of a file that could not be read whole is
// told to `failed` too. True when every report was made of a whole file. Time and memory are
// linear in the number of files.
bool MakeReports(
    const os::TemplateLocation& templateFile, const std::string& folder,
    const std::vector<std::string>& pcgPaths,
    const std::function<void(const std::string& pcgPath, const std::string& why)>& failed);
