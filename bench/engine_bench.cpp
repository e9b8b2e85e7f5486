// SPDX-License-Identifier: MIT
// The report engine against the floors of what its work must cost at the least.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench_files.h"
#include "engine/patch_reader.h"
#include "engine/pcg_reading.h"
#include "engine/report_generation.h"
#include "engine/report_template.h"
#include "engine/template_loader.h"
#include "platform/os/executable_path.h"
#include "platform/os/path_names.h"
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

// The durable replace any writer that never leaves a half-written report must do, by the
// simplest code: a new file beside the report, synced, renamed over it.
void ReplaceFileWith(const std::string& path, const char* bytes, std::size_t size) {
    const std::string fresh = path + ".new";
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (write(fd, bytes, size) != static_cast<ssize_t>(size) || fsync(fd) != 0 || close(fd) != 0 ||
        rename(fresh.c_str(), path.c_str()) != 0) {
        std::abort();
    }
}

// --- GenerateReport on an instrument's file ---------------------------------------------------

// Reports of `pcg` made with `templatePath` (found once, as by the floors) into `report`.
void MakeReports(benchmark::State& state, const std::string& templatePath, const std::string& pcg,
                 const std::string& report) {
    for (auto _ : state) {
        const GenerateOutcome outcome =
            GenerateReportFromTemplate({templatePath, false}, pcg, report);
        if (!outcome.succeeded) {
            state.SkipWithError(outcome.message.c_str());
        }
    }
}

void GenerateReport_InstrumentPcg(benchmark::State& state) {
    MakeReports(state, ShippedTemplate(), g_files->instrumentPcg(),
                g_files->OutputPath("report.htm"));
}
// Syncing to disk takes most of the time of these, and a virtual disk's latency drifts: many
// short repetitions, taking turns with their floors, give medians that hold.
constexpr int kDiskRepetitions = 30;

BENCHMARK(GenerateReport_InstrumentPcg)
    ->Repetitions(kDiskRepetitions)
    ->Unit(benchmark::kMicrosecond);

// Reads both inputs and replaces `count` reports, a file each as a batch's, with as many bytes
// as the template and the PCG file give.
void ReadInputsReplaceReports(benchmark::State& state, const std::string& templatePath,
                              const std::string& pcg, std::int64_t count) {
    std::vector<std::string> reports;
    for (int64_t i = 0; i < count; ++i) {
        reports.push_back(g_files->OutputPath("floor-" + std::to_string(i) + ".htm"));
    }
    GenerateReportFromTemplate({templatePath, false}, pcg, reports.front());
    const std::size_t reportSize = support::ReadFile(reports.front()).size();
    const std::size_t bufferSize = std::max<std::size_t>(1 << 20, reportSize);
    const auto buffer = std::make_unique<char[]>(bufferSize);
    for (auto _ : state) {
        for (const std::string& report : reports) {
            benchmark::DoNotOptimize(ReadFileThrough(templatePath, buffer.get(), bufferSize));
            benchmark::DoNotOptimize(ReadFileThrough(pcg, buffer.get(), bufferSize));
            ReplaceFileWith(report, buffer.get(), reportSize);
        }
    }
}

// The argument is how many reports one iteration makes.
void Floor_ReadInputsReplaceReport(benchmark::State& state) {
    ReadInputsReplaceReports(state, ShippedTemplate(), g_files->instrumentPcg(), state.range(0));
}
BENCHMARK(Floor_ReadInputsReplaceReport)
    ->Arg(1)
    ->Arg(100)
    ->Repetitions(kDiskRepetitions)
    ->Unit(benchmark::kMicrosecond);

// --- An instrument-size PCG file and a template of 100 KB with 1,000 tags -----------------------

std::string HundredKilobyteTemplate() {
    return g_files->Template(100 * 1000, 1000);
}

void GenerateReport_InstrumentSize(benchmark::State& state) {
    MakeReports(state, HundredKilobyteTemplate(), g_files->instrumentSizePcg(),
                g_files->OutputPath("instrument-size.htm"));
}
BENCHMARK(GenerateReport_InstrumentSize)
    ->Repetitions(kDiskRepetitions)
    ->Unit(benchmark::kMicrosecond);

void Floor_ReadInputsReplaceInstrumentSize(benchmark::State& state) {
    ReadInputsReplaceReports(state, HundredKilobyteTemplate(), g_files->instrumentSizePcg(), 1);
}
BENCHMARK(Floor_ReadInputsReplaceInstrumentSize)
    ->Repetitions(kDiskRepetitions)
    ->Unit(benchmark::kMicrosecond);

// --- Every bank of a later model's file (3,851 slots, 2.3 MB) ---------------------------------

// The shipped layouts beside the patch list, by their files; the argument picks one.
const char* const kLayoutFiles[] = {"all-banks.htm", "by-category.htm", "combinations.htm"};

std::string LayoutTemplate(std::int64_t layout) {
    return os::DirectoryOf(os::ExecutablePath()) + kLayoutFiles[layout];
}

void GenerateReport_Layout(benchmark::State& state) {
    MakeReports(state, LayoutTemplate(state.range(0)), g_files->laterModelPcg(),
                g_files->OutputPath("layout.htm"));
}
BENCHMARK(GenerateReport_Layout)
    ->DenseRange(0, 2)
    ->Repetitions(kDiskRepetitions)
    ->Unit(benchmark::kMicrosecond);

void Floor_ReadInputsReplaceLayoutReport(benchmark::State& state) {
    ReadInputsReplaceReports(state, LayoutTemplate(state.range(0)), g_files->laterModelPcg(), 1);
}
BENCHMARK(Floor_ReadInputsReplaceLayoutReport)
    ->DenseRange(0, 2)
    ->Repetitions(kDiskRepetitions)
    ->Unit(benchmark::kMicrosecond);

// --- tabulon-cli as a whole process ---------------------------------------------------------

// Runs `arguments` as a process (found on the PATH), its standard output to `output`, and
// waits for it to succeed.
void RunProcess(const std::vector<std::string>& arguments, const std::string& output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::abort();
    }
    posix_spawn_file_actions_destroy(&actions);
}

std::string Cli() {
    return os::DirectoryOf(os::ExecutablePath()) + "tabulon-cli";
}

void Cli_OneReport(benchmark::State& state) {
    const std::vector<std::string> command = {Cli(), g_files->instrumentPcg(),
                                              g_files->OutputPath("cli.htm")};
    for (auto _ : state) {
        RunProcess(command, "/dev/null");
    }
}
BENCHMARK(Cli_OneReport)->Repetitions(kDiskRepetitions)->Unit(benchmark::kMicrosecond);

// A process that reads both inputs and writes bytes out: the least a program can do.
void Floor_Cat_OneReport(benchmark::State& state) {
    const std::vector<std::string> command = {"cat", ShippedTemplate(), g_files->instrumentPcg()};
    for (auto _ : state) {
        RunProcess(command, g_files->OutputPath("cat.htm"));
    }
}
BENCHMARK(Floor_Cat_OneReport)->Repetitions(kDiskRepetitions)->Unit(benchmark::kMicrosecond);

void Cli_ListLaterModel(benchmark::State& state) {
    const std::vector<std::string> command = {Cli(), "--list", g_files->laterModelPcg()};
    for (auto _ : state) {
        RunProcess(command, "/dev/null");
    }
}
BENCHMARK(Cli_ListLaterModel)->Repetitions(kDiskRepetitions)->Unit(benchmark::kMicrosecond);

void Cli_ListEveryColumn(benchmark::State& state) {
    const std::vector<std::string> command = {Cli(), "--list", "-o",
                                              "file,kind,bank,slot,name,category,uses,used_by",
                                              g_files->laterModelPcg()};
    for (auto _ : state) {
        RunProcess(command, "/dev/null");
    }
}
BENCHMARK(Cli_ListEveryColumn)->Repetitions(kDiskRepetitions)->Unit(benchmark::kMicrosecond);

// Two later models' files, compared slot by slot, against the listing of both.
void Cli_CompareLaterModels(benchmark::State& state) {
    const std::vector<std::string> command = {Cli(), "--compare", g_files->laterModelPcg(),
                                              g_files->laterModelCopy()};
    for (auto _ : state) {
        RunProcess(command, "/dev/null");
    }
}
BENCHMARK(Cli_CompareLaterModels)->Repetitions(kDiskRepetitions)->Unit(benchmark::kMicrosecond);

void Cli_ListTwoLaterModels(benchmark::State& state) {
    const std::vector<std::string> command = {Cli(), "--list", g_files->laterModelPcg(),
                                              g_files->laterModelCopy()};
    for (auto _ : state) {
        RunProcess(command, "/dev/null");
    }
}
BENCHMARK(Cli_ListTwoLaterModels)->Repetitions(kDiskRepetitions)->Unit(benchmark::kMicrosecond);

void Floor_Cat_LaterModel(benchmark::State& state) {
    const std::vector<std::string> command = {"cat", g_files->laterModelPcg()};
    for (auto _ : state) {
        RunProcess(command, "/dev/null");
    }
}
BENCHMARK(Floor_Cat_LaterModel)->Repetitions(kDiskRepetitions)->Unit(benchmark::kMicrosecond);

void Cli_Batch(benchmark::State& state) {
    std::vector<std::string> command = {Cli(), "-d", g_files->OutputPath("batch")};
    for (const std::string& pcg : g_files->InstrumentPcgCopies(static_cast<int>(state.range(0)))) {
        command.push_back(pcg);
    }
    for (auto _ : state) {
        RunProcess(command, "/dev/null");
    }
}
BENCHMARK(Cli_Batch)->Arg(100)->Repetitions(kDiskRepetitions)->Unit(benchmark::kMicrosecond);

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

// The whole tree of the same files: every bank, every record's name.
void ReadPcgTree_MiB(benchmark::State& state) {
    const std::string path = g_files->LargePcg(static_cast<std::uint64_t>(state.range(0)));
    for (auto _ : state) {
        const PcgReading read = ReadPcg(path, {PcgRules::WholeFile});
        if (read.contents.slots.empty()) {
            state.SkipWithError("no slots read");
        }
        benchmark::DoNotOptimize(read.contents.slots.data());
    }
    state.SetBytesProcessed(state.iterations() * (state.range(0) << 20));
}
BENCHMARK(ReadPcgTree_MiB)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);

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
            {"GenerateReport_InstrumentPcg", "Floor_ReadInputsReplaceReport/1", Target::TimeAtMost,
             1.3},
            {"GenerateReport_InstrumentSize", "Floor_ReadInputsReplaceInstrumentSize",
             Target::TimeAtMost, 1.2},
            {"Cli_OneReport", "Floor_Cat_OneReport", Target::TimeAtMost, 2.0},
            {"Cli_Batch/100", "Floor_ReadInputsReplaceReport/100", Target::TimeAtMost, 1.3},
            {"ReadPatchNames_MiB/256", "Floor_SequentialRead_MiB/256", Target::ThroughputAtLeast,
             0.8},
            {"ReadPcgTree_MiB/256", "Floor_SequentialRead_MiB/256", Target::ThroughputAtLeast, 0.8},
            {"Cli_ListLaterModel", "Floor_Cat_LaterModel", Target::TimeAtMost, 2.0},
            {"Cli_ListEveryColumn", "Floor_Cat_LaterModel", Target::TimeAtMost, 2.0},
            {"Cli_CompareLaterModels", "Cli_ListTwoLaterModels", Target::TimeAtMost, 3.0},
            {"GenerateReport_Layout/0", "Floor_ReadInputsReplaceLayoutReport/0", Target::TimeAtMost,
             1.3},
            {"GenerateReport_Layout/1", "Floor_ReadInputsReplaceLayoutReport/1", Target::TimeAtMost,
             1.3},
            {"GenerateReport_Layout/2", "Floor_ReadInputsReplaceLayoutReport/2", Target::TimeAtMost,
             1.3},
            {"Template_MiB/64", "Floor_MemchrMemcpy_64MiB", Target::ThroughputAtLeast, 0.3},
        });
}
