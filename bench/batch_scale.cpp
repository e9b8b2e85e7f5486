// SPDX-License-Identifier: MIT
// tabulon-cli -d over 1,000, 10,000 and 40,000 PCG files, each a whole process: the time per
// file and the memory must not grow with the size of the batch.
//   batch_scale [tabulon-cli]     (default: the one beside this program; name another to compare)
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/os/executable_path.h"
#include "platform/os/path_names.h"
#include "support/pcg_builder.h"
#include "support/temp_dir.h"

namespace {

struct Measure {
    double seconds = 0;     // on the clock: mostly waiting for the disk to take each report
    double cpuSeconds = 0;  // the process's own work, user and system: what a batch's size may
                            // make grow, and steady where the disk's latency drifts
    long peakKilobytes = 0;
};

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// Runs tabulon-cli on the first `count` PCG files of `folder`/p into a new folder, from inside
// `folder` so that the argument list holds short names, and waits for it to succeed.
Measure RunBatch(const std::string& cli, const std::string& folder, int count) {
    std::vector<std::string> arguments = {cli, "-d", "reports-" + std::to_string(count)};
    for (int i = 0; i < count; ++i) {
        arguments.push_back("p/" + std::to_string(i) + ".pcg");
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) == 0) {
            execv(argv[0], argv.data());
        }
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || status != 0) {
        std::fprintf(stderr, "the batch of %d files failed\n", count);
        std::exit(1);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {elapsed.count(), Seconds(usage.ru_utime) + Seconds(usage.ru_stime), usage.ru_maxrss};
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli =
        argc > 1 ? argv[1] : os::DirectoryOf(os::ExecutablePath()) + "tabulon-cli";
    const support::TempDir folder;
    const int counts[] = {1000, 10000, 40000};
    // Small banks, so that 40,000 inputs fit anywhere; the report is the shipped template's.
    const std::string pcg =
        support::PcgBuilder().Bank("PBK1", {"Grand Piano", "Strings", "Brass", "Pad"}).bytes();
    mkdir(folder.Path("p").c_str(), 0777);
    for (int i = 0; i < counts[2]; ++i) {
        folder.Write("p/" + std::to_string(i) + ".pcg", pcg);
    }
    // Per file: at most this much more work than in the smallest batch, and this much memory
    // (the file's name in the argument list and its entries in the run's sets take about half).
    constexpr double kTimeRatio = 1.5;
    constexpr long kBytesPerFile = 512;
    std::printf("%8s %10s %14s %14s %12s\n", "files", "time", "CPU per file", "peak",
                "peak per file");
    Measure first;
    bool met = true;
    for (const int count : counts) {
        const Measure measure = RunBatch(cli, folder.path(), count);
        first = count == counts[0] ? measure : first;
        const double perFile = measure.cpuSeconds / count;
        const long grown = (measure.peakKilobytes - first.peakKilobytes) * 1024;
        met = met && perFile <= kTimeRatio * first.cpuSeconds / counts[0] &&
              grown <= kBytesPerFile * (count - counts[0]);
        std::printf("%8d %8.2f s %11.1f µs %10ld KiB %10ld B\n", count, measure.seconds,
                    perFile * 1e6, measure.peakKilobytes, measure.peakKilobytes * 1024 / count);
    }
    std::printf(
        "targets: CPU time per file at most %.1fx the smallest batch's, peak memory at most %ld "
        "bytes more per file: %s\n",
        kTimeRatio, kBytesPerFile, met ? "met" : "NOT MET");
    return met ? 0 : 1;
}
