// SPDX-License-Identifier: MIT
// Where report generation finds "template.htm".
#pragma once

#include <string>

namespace os {

struct TemplateLocation {
    std::string path;
    // The user's own template, or one they named: a failure to read it names it. The one
    // shipped with the program has a fixed message instead.
    bool usersOwn = false;
    // The shipped template's file name, which a failure to read it names.
    std::string shippedName = "template.htm";
};

// The user's own template, <data folder>/tabulon/template.htm (DataFolder: $XDG_DATA_HOME or
// ~/.local/share), whenever anything is at that path, even something that cannot be read,
// so that a broken one is reported rather than passed over; else the one in the running
// executable's folder. The folder is always "tabulon", whatever the executable is called, so
// that every Tabulon program of the user shares it. An empty path when neither is known.
TemplateLocation FindReportTemplate();

// The template of every bank, "all-banks.htm", looked up the same way: the user's own copy in
// <data folder>/tabulon/ first, else the one beside the running executable.
TemplateLocation FindAllBanksTemplate();

}  // namespace os
