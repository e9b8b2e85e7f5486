// SPDX-License-Identifier: MIT
// Peak memory while reading PCG files of growing size, the first 768 names and the whole tree:
// it must not grow with the file.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench_files.h"
#include "engine/patch_reader.h"
#include "engine/pcg_reading.h"
#include "support/pcg_builder.h"

namespace {

// The peak resident size, in KiB, of a child process that runs `work` and exits. The kernel
// settles its counters when a process ends, so this is exact to the page.
template <typename Work>
long ChildPeakKilobytes(Work work) {
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || status != 0) {
        std::fprintf(stderr, "the measuring child failed\n");
        std::exit(1);
    }
    return usage.ru_maxrss;
}

// A sparse PCG file of `gigabytes` GiB: a bank that claims more records than the file holds,
// then holes, so the reader must go through every byte.
std::string SparsePcg(const bench::BenchFiles& files, int gigabytes) {
    const std::string path = files.OutputPath("sparse-" + std::to_string(gigabytes) + ".pcg");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        // Sizes that claim the whole file, so that the whole-tree reader goes through it too.
        out << "KORG" << std::string(12, '\0') << "PCG1" << support::BigEndian32(0xFFFFFFF0)
            << "PRG1" << support::BigEndian32(0xFFFFFFE8)
            << support::PcgBuilder()
                   .FileHeader({})
                   .BankHeader("PBK1", 0xFFFFFFFF, 64 * 1024)
                   .bytes();
    }
    if (truncate(path.c_str(), static_cast<off_t>(gigabytes) << 30) != 0) {
        std::perror("truncate");
        std::exit(1);
    }
    return path;
}

}  // namespace

int main() {
    bench::BenchFiles files;
    constexpr long kLimitKilobytes = 16 * 1024;
    std::printf("%-28s %14s %18s %18s\n", "PCG file", "file size", "first 768 names", "whole tree");
    bool allUnder = true;
    struct Case {
        std::string name, path;
    };
    const Case cases[] = {
        {"instrument-like", files.instrumentPcg()}, {"dense 64 MiB", files.LargePcg(64)},
        {"dense 256 MiB", files.LargePcg(256)},     {"sparse 1 GiB", SparsePcg(files, 1)},
        {"sparse 4 GiB", SparsePcg(files, 4)},      {"later model", files.laterModelPcg()},
    };
    for (const Case& c : cases) {
        std::ifstream probe(c.path, std::ios::binary | std::ios::ate);
        const auto size = static_cast<long long>(probe.tellg());
        const long baseline = ChildPeakKilobytes([] {});
        const long reading = ChildPeakKilobytes([&] {
            CPatchTable table;
            ReadPatchNames(c.path, table);
        });
        const long tree = ChildPeakKilobytes([&] { ReadPcg(c.path, {PcgRules::WholeFile}); });
        const long peak = reading - baseline;
        allUnder = allUnder && peak < kLimitKilobytes && tree - baseline < kLimitKilobytes;
        std::printf("%-28s %11lld MiB %15ld KiB %15ld KiB\n", c.name.c_str(), size >> 20, peak,
                    tree - baseline);
    }
    std::printf("target: under %ld KiB above the start, whatever the size: %s\n", kLimitKilobytes,
                allUnder ? "met" : "NOT MET");
    return allUnder ? 0 : 1;
}
