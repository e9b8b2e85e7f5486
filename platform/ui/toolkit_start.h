// SPDX-License-Identifier: MIT
// Starting the toolkit on the display the session offers, or saying in one line that there
// is none.
#pragma once

#include <memory>
#include <string>

class QApplication;

namespace ui {

struct DisplayChoice;

// Creates the toolkit's application over `argc` and `argv` (which must outlive it) on the
// platforms of `choice`, with its input method. The environment the program's own children
// see is left as it was.
//
// When there is no platform to try, or none of them starts, writes `failureLine` and a line
// end to standard error and ends the process at once with status 1: nothing has been written
// then, and the toolkit's own complaints about the failed attempts are not shown. Otherwise
// whatever the toolkit and its libraries wrote to standard error while starting is passed on
// unchanged.
std::unique_ptr<QApplication> StartToolkit(int& argc, char** argv, const DisplayChoice& choice,
                                           const std::string& failureLine);

}  // namespace ui
