// SPDX-License-Identifier: MIT
// tabulon-cli: Tabulon's reports from the command line, without a window.
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/messages.h"
#include "cli/quoted_name.h"
#include "cli/tables.h"
#include "engine/pcg_reading.h"
#include "engine/report_generation.h"
#include "engine/slot_listing.h"
#include "platform/os/file_identity.h"
#include "platform/os/out_of_memory.h"
#include "platform/os/path_names.h"
#include "platform/os/template_location.h"
#include "platform/os/write_all.h"
#include "platform/os/write_signals.h"

namespace {

int MakeOneReport(const std::string& program, const os::TemplateLocation& templateFile,
                  const std::string& pcg, const std::string& report) {
    const GenerateOutcome outcome = report == "-"
                                        ? GenerateReportToStream(templateFile, pcg, STDOUT_FILENO)
                                        : GenerateReportFromTemplate(templateFile, pcg, report);
    if (!outcome.succeeded) {
        if (const std::string why = FailureText(outcome, templateFile.path, QuotedWhenNeeded);
            !why.empty()) {
            Complain(program, pcg, why);
        }
        return 1;
    }
    if (outcome.shortfall) {
        Complain(program, pcg, ShortfallLine(outcome.shortfall, outcome.slotsRead, "reported"));
        return 1;
    }
    return 0;
}

// Standard output failed with `error`, told as coreutils tells it; a reader that has left
// (head, say) wants nothing more, and no message either.
void TellWriteError(const std::string& program, int error) {
    if (error != EPIPE) {
        Tell(program, std::string("write error: ") + std::strerror(error));
    }
}

// Text for standard output; a failure to write it (a full disk, a closed descriptor) is a
// failure.
int Print(const std::string& program, const std::string& text) {
    if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) {
        return 0;
    }
    TellWriteError(program, errno);
    return 1;
}

// Wrong usage: the reason, a hint, and status 2.
int WrongUsage(const std::string& program, const std::string& why) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.c_str(),
                 why.c_str(), program.c_str());
    return 2;
}

// The shipped layouts' names and the user's, for a message.
std::string LayoutNames() {
    std::string names;
    for (const os::ShippedLayout& layout : os::kShippedLayouts) {
        names += (names.empty() ? "" : ", ") + std::string(layout.name);
    }
    for (const std::string& name : os::UserLayoutNames()) {
        names += ", " + QuotedName(name, Quoting::Always);
    }
    return names;
}

int Run(const std::string& program, int argc, char** argv) {
    const CliParse parse = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parse.request) {
        return WrongUsage(program, parse.error);
    }
    const CliRequest& request = *parse.request;
    const bool reports =
        request.action == CliRequest::Action::Report || request.action == CliRequest::Action::Batch;
    const std::optional<os::TemplateLocation> found =
        request.templateFile ? os::TemplateLocation{*request.templateFile, true}
                             : os::FindLayout(request.layout);
    if (reports && !found) {
        return WrongUsage(program, "unknown layout " + QuotedName(request.layout, Quoting::Always) +
                                       "; " + LayoutNames());
    }
    const os::TemplateLocation templateFile = found.value_or(os::TemplateLocation{});
    switch (request.action) {
        case CliRequest::Action::Help:
            return Print(program, UsageText(program));
        case CliRequest::Action::Version:
            return Print(program, program + " " TABULON_VERSION "\n");
        case CliRequest::Action::Report:
            return MakeOneReport(program, templateFile, request.operands[0], request.operands[1]);
        case CliRequest::Action::List:
            return ListSlots(program, request);
        case CliRequest::Action::Compare:
            return CompareFiles(program, request);
        case CliRequest::Action::Duplicates:
            return FindDuplicateSlots(program, request);
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

}  // namespace

int main(int argc, char** argv) {
    // A reader that leaves, or a file-size limit, is a failed report with its message.
    os::IgnoreWriteSignals();
    // Names in messages are shown as the user's locale prints them; nothing else depends on it.
    std::setlocale(LC_CTYPE, "");
    // Under a memory limit any step may fail to allocate: one line, never an abort.
    os::EndQuietlyWhenMemoryRunsOut("tabulon-cli");
    try {
        const std::string program = os::FileNameOf(argc > 0 ? argv[0] : "tabulon-cli");
        os::EndQuietlyWhenMemoryRunsOut(program.c_str());
        return Run(program, argc, argv);
    } catch (const std::bad_alloc&) {
        os::TellMemoryExhausted();
    } catch (const std::length_error&) {
        os::TellMemoryExhausted();
    }
    return 1;
}
