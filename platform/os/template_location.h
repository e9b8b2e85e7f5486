// SPDX-License-Identifier: MIT
// Where report generation finds its templates: the layouts shipped with the program, and the
// user's own.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace os {

struct TemplateLocation {
    std::string path;
    // The user's own template, or one they named: a failure to read it names it. The one
    // shipped with the program has a fixed message instead.
    bool usersOwn = false;
    // The shipped template's file name, which a failure to read it names.
    std::string shippedName = "template.htm";
};

// The layouts that come with the program, by name, and the files beside it that hold them.
struct ShippedLayout {
    std::string_view name;
    std::string_view file;
};
inline constexpr ShippedLayout kShippedLayouts[] = {
    {"patch-list", "template.htm"},
    {"all-banks", "all-banks.htm"},
    {"by-category", "by-category.htm"},
    {"combinations", "combinations.htm"},
};

// The user's template folder, <data folder>/tabulon (DataFolder: $XDG_DATA_HOME or
// ~/.local/share): always "tabulon", whatever the executable is called, so that every Tabulon
// program of the user shares it. Empty when no home is known.
std::string UserTemplateFolder();

// The layout named `name`. A shipped one is the user's file of the same name in the user's
// template folder whenever anything is at that path, even something that cannot be read, so
// that a broken one is reported rather than passed over; else the one in the running
// executable's folder (an empty path when that is not known). Any other name is the user's
// own <name>.htm there, when anything is there. None for a name that is neither, or that is
// no file name of that folder (empty, ".", "..", with a '/').
std::optional<TemplateLocation> FindLayout(std::string_view name);

// The patch list's template, "template.htm": FindLayout("patch-list").
TemplateLocation FindReportTemplate();

// The names of the user's own layouts: the regular files ending in ".htm" of the user's
// template folder (links followed) but those named like a shipped layout's file, each by its
// name without ".htm", sorted by their bytes.
std::vector<std::string> UserLayoutNames();

}  // namespace os
