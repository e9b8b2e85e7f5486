// SPDX-License-Identifier: MIT
#include <new>

#include "app/report_app.h"
#include "platform/os/out_of_memory.h"
#include "platform/os/write_signals.h"

namespace {

// The one application object, constructed as the process starts.
CReportApp theApp;

}  // namespace

int main(int /*argc*/, char** argv) {
    // A report FIFO whose reader leaves, or a file-size limit, is a failed Generate with its
    // message, never the window vanishing.
    os::IgnoreWriteSignals();
    // The command line means nothing to the program; not even the toolkit sees it. Memory that
    // runs out outside a Generate (which reports it) ends the program with one line, never an
    // abort.
    os::EndQuietlyWhenMemoryRunsOut("tabulon");
    try {
        return theApp.Run(1, argv);
    } catch (const std::bad_alloc&) {
        os::TellMemoryExhausted();
    }
    return 1;
}
