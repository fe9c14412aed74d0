#pragma once
// A console reporter that, once every benchmark of the program has run, prints each figure beside its
// anchor as a ratio of CPU time per iteration (the time it measured itself for a benchmark timed by hand),
// and for each figure the spread of its time per item across sizes: the figures to read, all measured in the
// one run. With repetitions, each time is the median of its repetitions.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench_ratios {

// A figure read against an anchor. "{n}" in both names stands for the size argument they share; the time
// per item of a figure is its time per iteration divided by that size.
struct Pairing {
    std::string figure;
    std::string anchor;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<Pairing> pairings) : m_pairings(std::move(pairings)) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    // The median over repetitions (--benchmark_repetitions) of each benchmark's time.
    void takeMedians();

    std::vector<Pairing> m_pairings;
    std::map<std::string, std::vector<double>> m_repetitions; // CPU seconds per iteration, by benchmark name
    std::map<std::string, double> m_cpuSeconds;
};

// Runs the program's benchmarks (command-line flags as usual) through a RatioReporter.
int runWithRatios(int argc, char** argv, std::vector<Pairing> pairings);

} // namespace bench_ratios
