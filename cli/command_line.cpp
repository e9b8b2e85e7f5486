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

}  // namespace

CliParse ParseCommandLine(const std::vector<std::string>& arguments) {
    CliRequest request;
    std::string error;
    bool batch = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::string_view name = std::string_view(argument).substr(0, argument.find('='));
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            request.operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help") {
            return {CliRequest{CliRequest::Action::Help, {}, {}, {}}, {}};
        } else if (argument == "--version") {
            return {CliRequest{CliRequest::Action::Version, {}, {}, {}}, {}};
        } else if (name == "--template") {
            std::string file;
            if (!TakeValue(arguments, i, name.size() + 1, file)) {
                error = "option '--template' needs a file";
            }
            request.templateFile = file;
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
           " --help | --version\n"
           "\n"
           "Makes the HTML patch list of Korg Triton PCG files, as Tabulon's Generate does:\n"
           "the first 128 patch names filled into the template.\n"
           "\n"
           "  PCG REPORT            write the report of PCG to REPORT; '-' is standard output\n"
           "  -d, --output-dir DIR  write one report per PCG file into DIR (made when\n"
           "                        missing), each named after its PCG file with the\n"
           "                        extension .htm\n"
           "      --template FILE   use FILE as the template instead of your own\n"
           "                        ($XDG_DATA_HOME/tabulon/template.htm, or\n"
           "                        ~/.local/share/tabulon/template.htm) or else the one\n"
           "                        installed with the program\n"
           "      --help            show this help and exit\n"
           "      --version         show the version and exit\n"
           "\n"
           "A report is replaced whole or not at all; an input file is never written.\n"
           "Exit status: 0 when every report was written, 1 when any failed, 2 on wrong usage.\n";
}
