// SPDX-License-Identifier: MIT
// What tabulon-cli's command line asks for.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CliRequest {
    enum class Action {
        Report,   // operands: the PCG file and the report ("-": standard output)
        Batch,    // operands: PCG files, each reported into outputFolder
        Help,     // print the usage
        Version,  // print the name and version
    };
    Action action = Action::Report;
    std::optional<std::string> templateFile;  // instead of the usual lookup
    std::string outputFolder;
    std::vector<std::string> operands;
};

// A request, or what is wrong with the command line (for a short hint).
struct CliParse {
    std::optional<CliRequest> request;
    std::string error;
};

// Reads the options: "--template FILE" (or "--template=FILE"), "-d DIR" (or "-dDIR",
// "--output-dir DIR", "--output-dir=DIR"), "--help" and "--version", wherever they stand;
// "--" ends them, and "-" alone is an operand. Without -d there must be exactly two
// operands; with it, at least one. --help and --version need nothing else and win over any
// error in the rest.
CliParse ParseCommandLine(const std::vector<std::string>& arguments);

// The full usage text, for --help.
std::string UsageText(const std::string& program);
