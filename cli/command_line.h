// SPDX-License-Identifier: MIT
// What tabulon-cli's command line asks for.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/slot_listing.h"

struct CliRequest {
    enum class Action {
        Report,   // operands: the PCG file and the report ("-": standard output)
        Batch,    // operands: PCG files, each reported into outputFolder
        List,        // operands: PCG files, whose slots are listed
        Compare,     // operands: the old PCG file and the new one, compared slot by slot
        Duplicates,  // operands: PCG files, in which sounds and names twice are looked for
        Help,     // print the usage
        Version,  // print the name and version
    };
    Action action = Action::Report;
    std::optional<std::string> templateFile;  // instead of the usual lookup
    std::string layout = "patch-list";        // the layout reports take, unless templateFile
    TableFormat format = TableFormat::Tsv;              // of a listing, comparison or duplicates
    std::optional<std::vector<ListingColumn>> columns;  // a listing's, when given
    std::optional<std::string> outputFile;              // where a table goes, if not standard output
    bool everySlot = false;                             // duplicates among placeholders too
    std::string outputFolder;
    std::vector<std::string> operands;
};

// A request, or what is wrong with the command line (for a short hint).
struct CliParse {
    std::optional<CliRequest> request;
    std::string error;
};

// Reads the options as coreutils do, with the C library's getopt_long: "--template FILE" (or
// "--template=FILE"), "-d DIR" (or "-dDIR", "--output-dir DIR", "--output-dir=DIR"),
// "--layout NAME", "--all-banks" (which is "--layout all-banks"), "--list", "--compare",
// "--duplicates", "--all", "--format FORMAT" (or "--format=FORMAT"), "-o LIST" ("--output
// LIST": a listing's columns), "-O FILE" ("--output-file FILE"), "--help" and "--version",
// wherever they stand (before the first operand when POSIXLY_CORRECT is set); a long name may
// be cut short to a beginning no other shares ("--temp", "--out=DIR"); "--" ends them, and "-"
// alone is an operand. An empty value is wrong usage, and so is "--template=" with nothing
// after the "="; a message about a value names its long option whole. --list, --compare and
// --duplicates make tables, one of them at a time: --list and --duplicates of at least one
// operand, --compare of two; of the others they take --format and -O, which need one of them,
// -o only with --list (an unknown column is wrong usage) and --all only with --duplicates. A
// layout's name is looked for by the caller; otherwise, without -d there must be exactly two
// operands, with it at least one. --help and --version need nothing else and win over
// any error in the rest. Not for two threads at once: getopt_long's state is the process's.
CliParse ParseCommandLine(const std::vector<std::string>& arguments);

// The full usage text, for --help.
std::string UsageText(const std::string& program);
