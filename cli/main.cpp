// SPDX-License-Identifier: MIT
// tabulon-cli: Tabulon's reports from the command line, without a window.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "engine/pcg_tree_reader.h"
#include "engine/report_generation.h"
#include "engine/slot_listing.h"
#include "platform/os/template_location.h"
#include "platform/os/write_all.h"
#include "platform/os/write_signals.h"

namespace {

// Messages name the PCG file they are about, after the program's name.
void Complain(const std::string& program, const std::string& subject, const std::string& why) {
    std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), subject.c_str(), why.c_str());
}

int MakeOneReport(const std::string& program, const os::TemplateLocation& templateFile,
                  const std::string& pcg, const std::string& report) {
    const GenerateOutcome outcome = report == "-"
                                        ? GenerateReportToStream(templateFile, pcg, STDOUT_FILENO)
                                        : GenerateReportFromTemplate(templateFile, pcg, report);
    if (!outcome.succeeded) {
        Complain(program, pcg, outcome.message);
        return 1;
    }
    return 0;
}

// Text for standard output; a failure to write it (a full disk, a closed pipe) is a failure.
int Print(const std::string& text) {
    return std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
}

GenerateStatus StatusOf(PcgReadStatus status) {
    switch (status) {
        case PcgReadStatus::CannotOpen:
            return GenerateStatus::PcgMissing;
        case PcgReadStatus::BadHeaders:
            return GenerateStatus::PcgInvalid;
        case PcgReadStatus::NoBanks:
            return GenerateStatus::NoPatches;
        case PcgReadStatus::Read:
            break;
    }
    return GenerateStatus::Succeeded;
}

// Every slot of every file on standard output; a file that cannot be read is reported and
// passed over. Once standard output fails, nothing more is tried.
int ListSlots(const std::string& program, const CliRequest& request) {
    int outputError = 0;
    SlotListing listing(request.format, request.operands.size() > 1,
                        [&outputError](std::string_view text) {
                            if (outputError == 0 && !os::WriteAll(STDOUT_FILENO, text)) {
                                outputError = errno;
                            }
                        });
    int status = 0;
    for (const std::string& pcg : request.operands) {
        const PcgTreeRead read = ReadPcgContents(pcg);
        if (read.status != PcgReadStatus::Read) {
            Complain(program, pcg, OutcomeOf(StatusOf(read.status)).message);
            status = 1;
            continue;
        }
        listing.Add(pcg, read.contents);
        if (read.contents.cut) {
            Complain(program, pcg,
                     "only the first " + std::to_string(read.contents.slots.size()) +
                         " slots are listed: the file holds more than a listing keeps");
            status = 1;
        }
        if (outputError != 0) {
            break;
        }
    }
    listing.Finish();
    // A reader that has left (head, say) wants nothing more, and no message either.
    if (outputError != 0 && outputError != EPIPE) {
        Complain(program, "standard output", std::strerror(outputError));
    }
    if (outputError != 0) {
        return 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that leaves, or a file-size limit, is a failed report with its message.
    os::IgnoreWriteSignals();
    std::string program = argc > 0 ? argv[0] : "tabulon-cli";
    program = program.substr(program.rfind('/') + 1);

    const CliParse parse = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parse.request) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.c_str(),
                     parse.error.c_str(), program.c_str());
        return 2;
    }
    const CliRequest& request = *parse.request;
    const os::TemplateLocation templateFile =
        request.templateFile ? os::TemplateLocation{*request.templateFile, true}
        : request.allBanks   ? os::FindAllBanksTemplate()
                             : os::FindReportTemplate();
    switch (request.action) {
        case CliRequest::Action::Help:
            return Print(UsageText(program));
        case CliRequest::Action::Version:
            return Print(program + " " TABULON_VERSION "\n");
        case CliRequest::Action::Report:
            return MakeOneReport(program, templateFile, request.operands[0], request.operands[1]);
        case CliRequest::Action::List:
            return ListSlots(program, request);
        case CliRequest::Action::Batch:
            break;
    }
    const bool allMade =
        MakeReports(templateFile, request.outputFolder, request.operands,
                    [&program](const std::string& subject, const std::string& why) {
                        Complain(program, subject, why);
                    });
    return allMade ? 0 : 1;
}
