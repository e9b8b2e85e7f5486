// SPDX-License-Identifier: MIT
// The files of an OpenDocument spreadsheet of text cells, for TableOutput.
#pragma once

#include <string>
#include <vector>

#include "engine/table_output.h"

struct OdsSheet {
    std::string name;
    std::vector<std::vector<std::string>> rows;  // the first is the header, kept in view
};

// The package's files in the order a spreadsheet program expects them: "mimetype" first and
// stored, the manifest, the content with a table a sheet (every cell text, each column as wide
// as its longest text), and the settings that freeze each sheet's first row. Cells are UTF-8;
// a control character becomes a space and runs of spaces are kept.
std::vector<PackageFile> OdsFiles(const std::vector<OdsSheet>& sheets);
