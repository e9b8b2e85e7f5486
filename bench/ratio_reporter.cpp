// SPDX-License-Identifier: MIT
#include "ratio_reporter.h"

#include <cstdio>

namespace bench {

RatioReporter::RatioReporter(std::vector<FloorComparison> comparisons)
    : m_comparisons(std::move(comparisons)) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) {
            continue;
        }
        const std::string name = run.run_name.args.empty()
                                     ? run.run_name.function_name
                                     : run.run_name.function_name + "/" + run.run_name.args;
        const double seconds =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        // Medians when repetitions ran, single runs otherwise.
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
            m_medianSeconds[name] = seconds;
        } else if (run.run_type == Run::RT_Iteration && !m_medianSeconds.contains(name)) {
            m_medianSeconds[name] = seconds;
        }
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::printf("\n%-34s %-30s %10s %10s  %s\n", "benchmark", "floor", "ratio", "target", "result");
    for (const FloorComparison& c : m_comparisons) {
        const auto ours = m_medianSeconds.find(c.ours);
        const auto floor = m_medianSeconds.find(c.floor);
        if (ours == m_medianSeconds.end() || floor == m_medianSeconds.end()) {
            continue;  // filtered out of this run
        }
        const bool time = c.kind == FloorComparison::Target::TimeAtMost;
        const double ratio = time ? ours->second / floor->second : floor->second / ours->second;
        const bool met = time ? ratio <= c.target : ratio >= c.target;
        m_allMet = m_allMet && met;
        std::printf("%-34s %-30s %9.2fx %4s %4.2fx  %s\n", c.ours.c_str(), c.floor.c_str(), ratio,
                    time ? "<=" : ">=", c.target, met ? "met" : "NOT MET");
    }
    std::fflush(stdout);
}

int RunWithComparisons(int argc, char** argv, std::vector<FloorComparison> comparisons) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(std::move(comparisons));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.AllMet() ? 0 : 1;
}

}  // namespace bench
