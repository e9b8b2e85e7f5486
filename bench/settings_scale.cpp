// SPDX-License-Identifier: MIT
// A settings file of any size: how long the dialog's start-up reads and one Generate's write
// take. Run it under /usr/bin/time for its peak memory.
//   settings_scale FILE
#include <chrono>
#include <cstdio>

#include "platform/os/private_profile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings_scale FILE\n");
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point since) {
        return std::chrono::duration<double>(Clock::now() - since).count();
    };
    const auto start = Clock::now();
    // What the dialog reads when it opens, and what a successful Generate writes.
    os::ReadProfileString(argv[1], "MRU", "report", "");
    os::ReadProfileString(argv[1], "MRU", "pcg", "");
    const double read = seconds(start);
    const auto writing = Clock::now();
    const os::ProfileSetting pair[] = {{"report", "/home/me/report.htm"},
                                       {"pcg", "/home/me/PRELOAD.PCG"}};
    if (!os::WriteProfileStrings(argv[1], "MRU", pair)) {
        std::fprintf(stderr, "settings_scale: the write failed\n");
        return 1;
    }
    std::printf("read %.3f s, write %.3f s\n", read, seconds(writing));
    return 0;
}
