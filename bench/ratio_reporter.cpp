#include "ratio_reporter.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <ostream>
#include <utility>

namespace bench_ratios {

namespace {

// The size that makes `name` an instance of `pattern`, 0 for a pattern without "{n}"; none when it is not.
std::optional<long long> sizeIn(const std::string& pattern, const std::string& name) {
    const std::size_t hole = pattern.find("{n}");
    if (hole == std::string::npos) return pattern == name ? std::optional<long long>(0) : std::nullopt;
    const std::string head = pattern.substr(0, hole);
    const std::string tail = pattern.substr(hole + 3);
    if (name.size() <= head.size() + tail.size() || name.compare(0, head.size(), head) != 0 ||
        name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
        return std::nullopt;
    const std::string digits = name.substr(head.size(), name.size() - head.size() - tail.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoll(digits);
}

std::string instance(const std::string& pattern, long long size) {
    const std::size_t hole = pattern.find("{n}");
    if (hole == std::string::npos) return pattern;
    return pattern.substr(0, hole) + std::to_string(size) + pattern.substr(hole + 3);
}

// CPU time, but the time a benchmark measured itself (an outside program's, say) for one that did.
double secondsOf(const benchmark::BenchmarkReporter::Run& run) {
    const std::string name = run.benchmark_name();
    const std::string manual = "/manual_time";
    const bool measuredItself =
        name.size() > manual.size() && name.compare(name.size() - manual.size(), manual.size(), manual) == 0;
    return measuredItself ? run.real_accumulated_time : run.cpu_accumulated_time;
}

} // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs)
        if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
            m_repetitions[run.benchmark_name()].push_back(secondsOf(run) /
                                                          static_cast<double>(run.iterations));
    ConsoleReporter::ReportRuns(runs);
}

void RatioReporter::takeMedians() {
    for (auto& [name, seconds] : m_repetitions) {
        const auto middle = seconds.begin() + static_cast<std::ptrdiff_t>(seconds.size() / 2);
        std::nth_element(seconds.begin(), middle, seconds.end());
        m_cpuSeconds[name] = *middle;
    }
}

void RatioReporter::Finalize() {
    takeMedians();
    std::ostream& out = GetOutputStream();
    char line[256];
    std::snprintf(line, sizeof line, "\n%-40s %-40s %9s %9s %7s\n", "figure", "anchor", "ns/item", "anchor",
                  "ratio");
    out << line;
    // Each figure's instances by size, smallest first.
    const auto instances = [&](const std::string& figure) {
        std::map<long long, double> bySize;
        for (const auto& [name, seconds] : m_cpuSeconds)
            if (const std::optional<long long> size = sizeIn(figure, name)) bySize[*size] = seconds;
        return bySize;
    };
    for (const Pairing& pairing : m_pairings)
        for (const auto& [size, seconds] : instances(pairing.figure)) {
            const auto anchor = m_cpuSeconds.find(instance(pairing.anchor, size));
            if (anchor == m_cpuSeconds.end()) continue;
            const double items = size > 0 ? static_cast<double>(size) : 1.0;
            std::snprintf(line, sizeof line, "%-40s %-40s %9.2f %9.2f %7.2f\n",
                          instance(pairing.figure, size).c_str(), anchor->first.c_str(),
                          seconds * 1e9 / items, anchor->second * 1e9 / items, seconds / anchor->second);
            out << line;
        }
    out << "\nTime per item across sizes (largest over smallest; 1.0 is linear growth):\n";
    std::map<std::string, bool> shown;
    for (const Pairing& pairing : m_pairings) {
        if (std::exchange(shown[pairing.figure], true)) continue;
        std::vector<double> spread;
        for (const auto& [size, seconds] : instances(pairing.figure))
            if (size > 0) spread.push_back(seconds * 1e9 / static_cast<double>(size));
        if (spread.size() < 2) continue;
        const auto [least, most] = std::minmax_element(spread.begin(), spread.end());
        std::snprintf(line, sizeof line, "%-40s %7.2f ns .. %7.2f ns  %5.2fx\n", pairing.figure.c_str(),
                      *least, *most, *most / *least);
        out << line;
    }
    ConsoleReporter::Finalize();
}

int runWithRatios(int argc, char** argv, std::vector<Pairing> pairings) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter(std::move(pairings));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench_ratios
