// SPDX-License-Identifier: MIT
#include "app/report_app.h"

namespace {

// The one application object, constructed as the process starts.
CReportApp theApp;

}  // namespace

int main(int /*argc*/, char** argv) {
    // The command line means nothing to the program; not even the toolkit sees it.
    return theApp.Run(1, argv);
}
