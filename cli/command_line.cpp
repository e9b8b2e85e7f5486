// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <string_view>

namespace {

// The value of an option that takes one: attached ("--name=value", "-dvalue") or the next
// argument. False when there is none.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& i, std::size_t attached,
               std::string& value) {
    const std::string& argument = arguments[i];
    if (attached < argument.size()) {
        value = argument.substr(attached);
        return true;
    }
    if (i + 1 >= arguments.size()) {
        return false;
    }
    value = arguments[++i];
    return true;
}

CliRequest Only(CliRequest::Action action) {
    CliRequest request;
    request.action = action;
    return request;
}

}  // namespace

CliParse ParseCommandLine(const std::vector<std::string>& arguments) {
    CliRequest request;
    std::string error;
    bool batch = false;
    bool list = false;
    bool formatGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::string_view name = std::string_view(argument).substr(0, argument.find('='));
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            request.operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help") {
            return {Only(CliRequest::Action::Help), {}};
        } else if (argument == "--version") {
            return {Only(CliRequest::Action::Version), {}};
        } else if (name == "--template") {
            std::string file;
            if (!TakeValue(arguments, i, name.size() + 1, file)) {
                error = "option '--template' needs a file";
            }
            request.templateFile = file;
        } else if (argument == "--all-banks") {
            request.allBanks = true;
        } else if (argument == "--list") {
            list = true;
        } else if (name == "--format") {
            std::string format;
            if (!TakeValue(arguments, i, name.size() + 1, format)) {
                error = "option '--format' needs tsv, csv or json";
            } else if (!ListingFormatNamed(format, request.format) && error.empty()) {
                error = "unknown format '" + format + "'; tsv, csv or json";
            }
            formatGiven = true;
        } else if (name == "--output-dir" || argument.starts_with("-d")) {
            const std::size_t attached = argument.starts_with("--") ? name.size() + 1 : 2;
            if (!TakeValue(arguments, i, attached, request.outputFolder)) {
                error = "option '" + std::string(name.substr(0, attached)) + "' needs a folder";
            }
            batch = true;
        } else if (error.empty()) {
            error = "unknown option '" + std::string(name) + "'";
        }
    }
    // Later arguments may still ask for help; only now is an error final.
    if (!error.empty()) {
        return {std::nullopt, error};
    }
    if (list) {
        if (batch || request.templateFile || request.allBanks) {
            return {std::nullopt,
                    "--list makes no report: it takes no -d, --template or --all-banks"};
        }
        if (request.operands.empty()) {
            return {std::nullopt, "no PCG file given"};
        }
        request.action = CliRequest::Action::List;
        return {request, {}};
    }
    if (formatGiven) {
        return {std::nullopt, "--format goes with --list"};
    }
    if (batch) {
        if (request.operands.empty()) {
            return {std::nullopt, "no PCG file given"};
        }
        request.action = CliRequest::Action::Batch;
        return {request, {}};
    }
    if (request.operands.size() < 2) {
        return {std::nullopt, request.operands.empty()
                                  ? "missing PCG file and report"
                                  : "missing report after '" + request.operands.front() + "'"};
    }
    if (request.operands.size() > 2) {
        return {std::nullopt, "too many operands; -d DIR makes a report of each PCG file"};
    }
    return {request, {}};
}

std::string UsageText(const std::string& program) {
    return "Usage: " + program +
           " [--template FILE] PCG REPORT\n"
           "       " +
           program +
           " [--template FILE] -d DIR PCG...\n"
           "       " +
           program +
           " --list [--format tsv|csv|json] PCG...\n"
           "       " +
           program +
           " --help | --version\n"
           "\n"
           "Makes the HTML patch list of Korg Triton PCG files, as Tabulon's Generate does:\n"
           "the first 128 patch names filled into the template. Files of later models\n"
           "(Triton Extreme and others) are read too.\n"
           "\n"
           "  PCG REPORT            write the report of PCG to REPORT; '-' is standard output\n"
           "  -d, --output-dir DIR  write one report per PCG file into DIR (made when\n"
           "                        missing), each named after its PCG file with the\n"
           "                        extension .htm\n"
           "      --all-banks       list every bank of the file in the report: programs,\n"
           "                        combinations, drum kits and arpeggio patterns (the\n"
           "                        template all-banks.htm installed with the program)\n"
           "      --template FILE   use FILE as the template instead of your own\n"
           "                        ($XDG_DATA_HOME/tabulon/template.htm, or\n"
           "                        ~/.local/share/tabulon/template.htm) or else the one\n"
           "                        installed with the program\n"
           "      --list            write every slot of each PCG file to standard output,\n"
           "                        one a line: kind, slot and name, tab-separated (and\n"
           "                        the file first, when there are several)\n"
           "      --format FORMAT   the listing as tsv (the default), csv (with a header\n"
           "                        line) or json\n"
           "      --help            show this help and exit\n"
           "      --version         show the version and exit\n"
           "\n"
           "A report is replaced whole or not at all; an input file is never written.\n"
           "Listings are UTF-8, names read in the reports' charset, Windows-1252.\n"
           "Exit status: 0 when every report was written and every file listed, 1 when any\n"
           "failed, 2 on wrong usage.\n";
}
