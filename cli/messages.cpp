// SPDX-License-Identifier: MIT
#include "cli/messages.h"

#include <cstdio>

#include "cli/quoted_name.h"

void Complain(const std::string& program, const std::string& subject, const std::string& why) {
    std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), QuotedName(subject).c_str(), why.c_str());
}

void Tell(const std::string& program, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", program.c_str(), why.c_str());
}
