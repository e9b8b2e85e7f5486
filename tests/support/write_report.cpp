// SPDX-License-Identifier: MIT
// Writes the report the engine makes of a PCG file with a given template, exactly as the
// program would with that template beside it.
#include <iostream>

#include "engine/report_generation.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: write_report <template.htm> <file.pcg> <report.htm>\n";
        return 2;
    }
    const GenerateOutcome outcome = GenerateReportFromTemplate(argv[1], argv[2], argv[3]);
    if (!outcome.succeeded) {
        std::cerr << outcome.message << "\n";
        return 1;
    }
    return 0;
}
