// SPDX-License-Identifier: MIT
// Prints, after the usual table, how each benchmark compares with its floor measured in the
// same run: on a noisy machine the ratio holds where absolute times do not.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

struct FloorComparison {
    std::string ours;   // benchmark name (without aggregate suffix)
    std::string floor;  // the floor it is measured against
    enum class Target { TimeAtMost, ThroughputAtLeast } kind;
    double target;  // time ratio ours/floor at most, or throughput ratio floor/ours at least
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<FloorComparison> comparisons);
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // True when every comparison met its target (after Finalize).
    bool AllMet() const { return m_allMet; }

private:
    std::vector<FloorComparison> m_comparisons;
    std::map<std::string, double> m_medianSeconds;
    bool m_allMet = true;
};

// Runs the registered benchmarks with medians of several repetitions and prints the
// comparisons; returns the process exit status (0 when every target is met).
int RunWithComparisons(int argc, char** argv, std::vector<FloorComparison> comparisons);

}  // namespace bench
