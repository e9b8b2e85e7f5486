// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <getopt.h>

#include <iterator>
#include <string_view>
#include <utility>

#include "cli/quoted_name.h"

namespace {

enum class Option {
    Template,
    OutputDir,
    Layout,
    AllBanks,
    List,
    Compare,
    Duplicates,
    All,
    Format,
    Output,
    OutputFile,
    Help,
    Version,
};

struct OptionEntry {
    Option option;
    const char* longName;
    char shortName;     // 0 when it has none
    const char* value;  // what its value is, as in "option '-d' needs a folder"; null: none
};

// One line an option. Its long name may be cut to any beginning no other shares.
constexpr OptionEntry kOptions[] = {
    {Option::Template, "template", 0, "a file"},
    {Option::OutputDir, "output-dir", 'd', "a folder"},
    {Option::Layout, "layout", 0, "a layout"},
    {Option::AllBanks, "all-banks", 0, nullptr},
    {Option::List, "list", 0, nullptr},
    {Option::Compare, "compare", 0, nullptr},
    {Option::Duplicates, "duplicates", 0, nullptr},
    {Option::All, "all", 0, nullptr},
    {Option::Format, "format", 0, "tsv, csv, json or ods"},
    {Option::Output, "output", 'o', "a list of columns"},
    {Option::OutputFile, "output-file", 'O', "a file"},
    {Option::Help, "help", 0, nullptr},
    {Option::Version, "version", 0, nullptr},
};
constexpr std::size_t kOptionCount = std::size(kOptions);

// getopt_long's answer for a long name: beyond any letter, so that a message can name the
// option as it was written, "-d" or "--output-dir".
constexpr int kLongNameBase = 256;

// An option as getopt_long answers for it, and its name as it was written (a long name whole).
struct GivenOption {
    const OptionEntry* entry = nullptr;
    std::string name;
};

GivenOption Given(int answer) {
    for (std::size_t i = 0; i < kOptionCount; ++i) {
        const OptionEntry& entry = kOptions[i];
        if (answer == kLongNameBase + static_cast<int>(i)) {
            return {&entry, std::string("--") + entry.longName};
        }
        if (entry.shortName != 0 && answer == entry.shortName) {
            return {&entry, std::string("-") + entry.shortName};
        }
    }
    return {};
}

// A long name that getopt_long did not take: one that no option begins with, or that begins
// several.
std::string UnknownLongOption(std::string_view argument) {
    const std::string_view name = argument.substr(0, argument.find('='));
    std::string possibilities;
    int count = 0;
    for (const OptionEntry& entry : kOptions) {
        if (name.size() > 2 && std::string_view(entry.longName).starts_with(name.substr(2))) {
            possibilities += " " + QuotedName(std::string("--") + entry.longName, Quoting::Always);
            ++count;
        }
    }
    const std::string quoted = QuotedName(name, Quoting::Always);
    return count > 1 ? "option " + quoted + " is ambiguous; possibilities:" + possibilities
                     : "unknown option " + quoted;
}

// The error for getopt_long's '?' or ':', `argument` the argument it was reading.
std::string UsageError(int answer, int unknown, std::string_view argument) {
    if (answer == ':') {
        const GivenOption given = Given(unknown);
        return "option " + QuotedName(given.name, Quoting::Always) + " needs " + given.entry->value;
    }
    if (unknown == 0) {
        return UnknownLongOption(argument);
    }
    if (const GivenOption given = Given(unknown); given.entry) {
        return "option " + QuotedName(given.name, Quoting::Always) + " takes no value";
    }
    return "unknown option " +
           QuotedName(std::string("-") + static_cast<char>(unknown), Quoting::Always);
}

// The error for an empty value (an unset variable in a script must never stand for the current
// folder or the root), or nothing.
std::string EmptyValueError(const std::string& value, const GivenOption& given,
                            std::string_view what) {
    return value.empty() ? "empty " + std::string(what) + " name for " +
                               QuotedName(given.name, Quoting::Always)
                         : std::string();
}

CliRequest Only(CliRequest::Action action) {
    CliRequest request;
    request.action = action;
    return request;
}

}  // namespace

CliParse ParseCommandLine(const std::vector<std::string>& arguments) {
    // getopt_long wants them as the C library's argv, which it may reorder: operands go last.
    std::vector<std::string> strings{"tabulon-cli"};
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : strings) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(strings.size());

    // ':' first: a missing value is told apart from an unknown option.
    std::string shortOptions = ":";
    std::vector<option> longOptions;
    for (std::size_t i = 0; i < kOptionCount; ++i) {
        const OptionEntry& entry = kOptions[i];
        const int hasValue = entry.value ? required_argument : no_argument;
        longOptions.push_back(
            {entry.longName, hasValue, nullptr, kLongNameBase + static_cast<int>(i)});
        if (entry.shortName != 0) {
            shortOptions += entry.shortName;
            shortOptions += entry.value ? ":" : "";
        }
    }
    longOptions.push_back({});

    CliRequest request;
    std::string error;
    // The first error is the one told.
    const auto fail = [&error](std::string text) {
        if (error.empty()) {
            error = std::move(text);
        }
    };
    bool batch = false;
    bool list = false;
    bool compare = false;
    bool duplicates = false;
    bool formatGiven = false;
    std::optional<std::string> layoutGiven;  // as --layout or --all-banks named it
    // Our own messages, not getopt_long's; 0 starts it afresh, as each call must.
    opterr = 0;
    optind = 0;
    int answer = 0;
    while ((answer = getopt_long(argc, argv.data(), shortOptions.c_str(), longOptions.data(),
                                 nullptr)) != -1) {
        const GivenOption given = Given(answer);
        if (!given.entry) {
            fail(UsageError(answer, optopt, argv[optind - 1]));
            continue;
        }
        const std::string value = optarg ? optarg : "";
        switch (given.entry->option) {
            case Option::Help:
                return {Only(CliRequest::Action::Help), {}};
            case Option::Version:
                return {Only(CliRequest::Action::Version), {}};
            case Option::Template:
                fail(EmptyValueError(value, given, "file"));
                request.templateFile = value;
                break;
            case Option::OutputDir:
                fail(EmptyValueError(value, given, "folder"));
                request.outputFolder = value;
                batch = true;
                break;
            case Option::Layout:
            case Option::AllBanks: {
                const std::string name =
                    given.entry->option == Option::AllBanks ? "all-banks" : value;
                fail(EmptyValueError(name, given, "layout"));
                if (layoutGiven && *layoutGiven != name) {
                    fail("two layouts: " + QuotedName(*layoutGiven, Quoting::Always) + " and " +
                         QuotedName(name, Quoting::Always));
                }
                layoutGiven = name;
                request.layout = name;
                break;
            }
            case Option::List:
                list = true;
                break;
            case Option::Compare:
                compare = true;
                break;
            case Option::Duplicates:
                duplicates = true;
                break;
            case Option::All:
                request.everySlot = true;
                break;
            case Option::Format:
                if (!TableFormatNamed(value, request.format)) {
                    fail("unknown format " + QuotedName(value, Quoting::Always) +
                         "; tsv, csv, json or ods");
                }
                formatGiven = true;
                break;
            case Option::OutputFile:
                fail(EmptyValueError(value, given, "file"));
                request.outputFile = value;
                break;
            case Option::Output: {
                std::vector<ListingColumn> columns;
                std::string unknown;
                if (!ListingColumnsNamed(value, columns, unknown)) {
                    fail("unknown column " + QuotedName(unknown, Quoting::Always) +
                         "; file, kind, bank, slot, name, category, uses or used_by");
                }
                request.columns = std::move(columns);
                break;
            }
        }
    }
    request.operands.assign(argv.begin() + optind, argv.begin() + argc);
    // Later arguments may still ask for help; only now is an error final.
    if (!error.empty()) {
        return {std::nullopt, error};
    }
    for (std::size_t k = 0; k < request.operands.size(); ++k) {
        if (request.operands[k].empty()) {
            return {std::nullopt,
                    batch || list || k == 0 ? "empty PCG file name" : "empty report name"};
        }
    }
    const int tables = int{list} + int{compare} + int{duplicates};
    if (tables > 1) {
        return {std::nullopt, "--list, --compare and --duplicates: one at a time"};
    }
    if (tables == 1) {
        const std::string what = list ? "--list" : compare ? "--compare" : "--duplicates";
        if (batch || request.templateFile || layoutGiven) {
            return {std::nullopt,
                    what + " makes no report: it takes no -d, --template, --layout or --all-banks"};
        }
        if (request.columns && !list) {
            return {std::nullopt, "-o goes with --list"};
        }
        if (request.everySlot && !duplicates) {
            return {std::nullopt, "--all goes with --duplicates"};
        }
        if (request.operands.empty()) {
            return {std::nullopt, "no PCG file given"};
        }
        if (compare && request.operands.size() != 2) {
            return {std::nullopt, "--compare takes two PCG files: the old one, then the new one"};
        }
        request.action = list      ? CliRequest::Action::List
                         : compare ? CliRequest::Action::Compare
                                   : CliRequest::Action::Duplicates;
        return {std::move(request), {}};
    }
    for (const auto& [given, option] :
         {std::pair{formatGiven, "--format"}, std::pair{request.columns.has_value(), "-o"},
          std::pair{request.outputFile.has_value(), "-O"}, std::pair{request.everySlot, "--all"}}) {
        if (given) {
            return {std::nullopt,
                    std::string(option) + " goes with --list, --compare or --duplicates"};
        }
    }
    if (batch) {
        if (request.operands.empty()) {
            return {std::nullopt, "no PCG file given"};
        }
        request.action = CliRequest::Action::Batch;
        return {std::move(request), {}};
    }
    if (request.operands.size() < 2) {
        return {std::nullopt, request.operands.empty()
                                  ? "missing PCG file and report"
                                  : "missing report after " +
                                        QuotedName(request.operands.front(), Quoting::Always)};
    }
    if (request.operands.size() > 2) {
        return {std::nullopt, "too many operands; -d DIR makes a report of each PCG file"};
    }
    return {std::move(request), {}};
}

std::string UsageText(const std::string& program) {
    return "Usage: " + program +
           " [--layout NAME | --template FILE] PCG REPORT\n"
           "       " +
           program +
           " [--layout NAME | --template FILE] -d DIR PCG...\n"
           "       " +
           program +
           " --list [--format FORMAT] [-o COLUMNS] [-O FILE] PCG...\n"
           "       " +
           program +
           " --compare [--format FORMAT] [-O FILE] OLD NEW\n"
           "       " +
           program +
           " --duplicates [--all] [--format FORMAT] [-O FILE] PCG...\n"
           "       " +
           program +
           " --help | --version\n"
           "\n"
           "Makes the HTML patch list of Korg Triton PCG files, as Tabulon's Generate does:\n"
           "the first 128 patch names filled into the template, each beside its slot. Files\n"
           "of every model (Triton, Studio, Rack, Extreme, LE, Karma) and partial saves are\n"
           "read, and slots are labelled as each model shows them.\n"
           "\n"
           "  PCG REPORT            write the report of PCG to REPORT; '-' is standard output\n"
           "  -d, --output-dir DIR  write one report per PCG file into DIR (made when\n"
           "                        missing), each named after its PCG file with the\n"
           "                        extension .htm\n"
           "      --layout NAME     lay the report out as NAME: patch-list (the first 128\n"
           "                        programs, the default), all-banks (every bank of every\n"
           "                        kind, with categories), by-category (programs, then\n"
           "                        combinations, under their categories), combinations\n"
           "                        (each combination with the programs it plays), or one\n"
           "                        of yours, NAME.htm in ~/.local/share/tabulon/\n"
           "                        ($XDG_DATA_HOME/tabulon/), where a file named like a\n"
           "                        shipped one (all-banks.htm) is used in its place\n"
           "      --all-banks       the same as --layout all-banks\n"
           "      --template FILE   use FILE as the template instead of a layout\n"
           "      --list            write every slot of each PCG file to standard output,\n"
           "                        one a line: kind, slot and name, tab-separated (and\n"
           "                        the file first, when there are several)\n"
           "      --compare         list the slots that differ between OLD and NEW, one a\n"
           "                        line: added, removed, renamed (another name, the same\n"
           "                        sound), changed (the sound edited) or replaced, with\n"
           "                        kind, slot, old name and new name; exit status 0 when\n"
           "                        nothing differs, 1 when something does\n"
           "      --duplicates      list the slots of one kind whose sounds are the same\n"
           "                        (reason sound) or whose names are but not their sounds\n"
           "                        (reason name), across every file: group, reason, file,\n"
           "                        kind, slot, name; exit status 1 when there are any\n"
           "      --all             with --duplicates, also the placeholders a file holds\n"
           "                        (\"InitialProgE037\" and its like, eight or more)\n"
           "      --format FORMAT   tsv (the default), csv (a header line, plain data for\n"
           "                        scripts), json (a listing: every column, always) or ods\n"
           "                        (a spreadsheet: a sheet a kind, every cell text, which no\n"
           "                        name can turn into a formula)\n"
           "  -O, --output-file FILE  write the table to FILE, replaced whole or not at all\n"
           "                        (a spreadsheet goes to standard output only when that is\n"
           "                        not a terminal)\n"
           "  -o, --output COLUMNS  the listing's columns, comma-separated, in that order:\n"
           "                        file, kind, bank (empty for drum kits and arpeggio\n"
           "                        patterns), slot, name, category (the factory's name),\n"
           "                        uses (a combination's programs), used_by (a program's\n"
           "                        combinations in the same file)\n"
           "      --help            show this help and exit\n"
           "      --version         show the version and exit\n"
           "\n"
           "Template keys: PATCHNAME_000 to PATCHNAME_127 (the names, only < and > escaped),\n"
           "PATCHSLOT_000 to _127 (their slots), PROGRAM_A000, COMBI_A000, DRUMKIT_000,\n"
           "ARPEGGIO_000 (a slot's name), PROGRAM_A000_CATEGORY, COMBI_A000_CATEGORY,\n"
           "COMBI_A000_USES, PROGRAM_A000_USED_BY, PROGRAM_BANKS and the other kinds',\n"
           "PROGRAM_CATEGORIES, COMBI_CATEGORIES, COMBI_PROGRAMS, PCG_FILE_NAME; every key\n"
           "but the names escapes &, <, >, \" and ' for HTML.\n"
           "\n"
           "A report is replaced whole or not at all; an input file is never written.\n"
           "Listings are UTF-8, names read in the reports' charset, Windows-1252.\n"
           "Exit status: 0 when every report was written and every file listed, each read\n"
           "whole; 1 when any failed, or a file ends before its chunks say; 2 on wrong usage.\n"
           "--compare and --duplicates: 0 when nothing was found, 1 when something was, 2 on\n"
           "trouble (a file that cannot be read whole) or wrong usage.\n";
}
