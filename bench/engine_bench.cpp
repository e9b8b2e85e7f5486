// SPDX-License-Identifier: MIT
// The report engine against the floors of what its work must cost at the least.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "bench_files.h"
#include "engine/patch_reader.h"
#include "engine/report_generation.h"
#include "engine/report_template.h"
#include "engine/template_loader.h"
#include "platform/os/executable_path.h"
#include "ratio_reporter.h"
#include "support/temp_dir.h"

namespace {

bench::BenchFiles* g_files = nullptr;

std::string ShippedTemplate() {
    return os::DirectoryOf(os::ExecutablePath()) + "template.htm";
}

// Reads a file front to back with large reads: what any reader of the whole file must pay.
std::size_t ReadFileThrough(const std::string& path, char* buffer, std::size_t bufferSize) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t total = 0;
    for (ssize_t got; (got = read(fd, buffer, bufferSize)) > 0;) {
        total += static_cast<std::size_t>(got);
    }
    close(fd);
    return total;
}

void WriteFileOf(const std::string& path, const char* bytes, std::size_t size) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (write(fd, bytes, size) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    close(fd);
}

// --- GenerateReport on an instrument's file ---------------------------------------------------

void GenerateReport_InstrumentPcg(benchmark::State& state) {
    const std::string report = g_files->OutputPath("report.htm");
    for (auto _ : state) {
        const GenerateOutcome outcome =
            GenerateReportFromTemplate(ShippedTemplate(), g_files->instrumentPcg(), report);
        if (!outcome.succeeded) {
            state.SkipWithError(outcome.message.c_str());
        }
    }
}
BENCHMARK(GenerateReport_InstrumentPcg)->Unit(benchmark::kMicrosecond);

void Floor_ReadInputsWriteReport(benchmark::State& state) {
    const std::string report = g_files->OutputPath("floor.htm");
    GenerateReportFromTemplate(ShippedTemplate(), g_files->instrumentPcg(), report);
    const std::size_t reportSize = support::ReadFile(report).size();
    const std::size_t bufferSize = 1 << 20;
    const auto buffer = std::make_unique<char[]>(bufferSize);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadFileThrough(ShippedTemplate(), buffer.get(), bufferSize));
        benchmark::DoNotOptimize(
            ReadFileThrough(g_files->instrumentPcg(), buffer.get(), bufferSize));
        WriteFileOf(report, buffer.get(), reportSize);
    }
}
BENCHMARK(Floor_ReadInputsWriteReport)->Unit(benchmark::kMicrosecond);

// --- Reading a 256 MiB PCG file -------------------------------------------------------------

// The argument is the file's size in MiB.
void ReadPatchNames_MiB(benchmark::State& state) {
    const std::string path = g_files->LargePcg(static_cast<std::uint64_t>(state.range(0)));
    for (auto _ : state) {
        CPatchTable table;
        benchmark::DoNotOptimize(ReadPatchNames(path, table));
    }
    state.SetBytesProcessed(state.iterations() * (state.range(0) << 20));
}
BENCHMARK(ReadPatchNames_MiB)->Arg(64)->Arg(128)->Arg(256)->Unit(benchmark::kMillisecond);

void Floor_SequentialRead_MiB(benchmark::State& state) {
    const std::string path = g_files->LargePcg(static_cast<std::uint64_t>(state.range(0)));
    const std::size_t bufferSize = 1 << 20;
    const auto buffer = std::make_unique<char[]>(bufferSize);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadFileThrough(path, buffer.get(), bufferSize));
    }
    state.SetBytesProcessed(state.iterations() * (state.range(0) << 20));
}
BENCHMARK(Floor_SequentialRead_MiB)->Arg(256)->Unit(benchmark::kMillisecond);

// --- Loading, parsing and rendering a 64 MiB template -----------------------------------------

// The argument is the template's size in MiB; tags keep the density of 10,000 in 64 MiB.
void Template_MiB(benchmark::State& state) {
    const auto megabytes = static_cast<std::uint64_t>(state.range(0));
    const std::string path =
        g_files->LargeTemplate(megabytes, static_cast<int>(megabytes * 10000 / 64));
    for (auto _ : state) {
        CReportTemplate reportTemplate;
        reportTemplate.SetTemplate(*LoadTemplateText(path));
        for (int j = 0; j < 128; ++j) {
            char key[16];
            std::snprintf(key, sizeof key, "PATCHNAME_%03d", j);
            reportTemplate.SetValue(key, "Patch name");
        }
        std::string out;
        reportTemplate.Render(out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * (state.range(0) << 20));
}
BENCHMARK(Template_MiB)->Arg(32)->Arg(64)->Arg(128)->Unit(benchmark::kMillisecond);

void Floor_MemchrMemcpy_64MiB(benchmark::State& state) {
    const std::string bytes = support::ReadFile(g_files->LargeTemplate(64, 10000));
    for (auto _ : state) {
        // One pass that finds every line end and copies the bytes between them.
        std::string out(bytes.size(), '\0');
        const char* cursor = bytes.data();
        const char* const end = cursor + bytes.size();
        char* to = out.data();
        while (cursor < end) {
            const auto* found = static_cast<const char*>(
                std::memchr(cursor, '\n', static_cast<std::size_t>(end - cursor)));
            const char* stop = found ? found + 1 : end;
            std::memcpy(to, cursor, static_cast<std::size_t>(stop - cursor));
            to += stop - cursor;
            cursor = stop;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (64 << 20));
}
BENCHMARK(Floor_MemchrMemcpy_64MiB)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::BenchFiles files;
    g_files = &files;
    using Target = bench::FloorComparison::Target;
    return bench::RunWithComparisons(
        argc, argv,
        {
            {"GenerateReport_InstrumentPcg", "Floor_ReadInputsWriteReport", Target::TimeAtMost,
             1.5},
            {"ReadPatchNames_MiB/256", "Floor_SequentialRead_MiB/256", Target::ThroughputAtLeast,
             0.8},
            {"Template_MiB/64", "Floor_MemchrMemcpy_64MiB", Target::ThroughputAtLeast, 0.3},
        });
}
