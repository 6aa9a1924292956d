#pragma once
// Runs the registered benchmarks and then prints, for each pair of rows, the
// ratio of our time to a peer's time measured in the same run, next to the
// goal for that ratio. With --benchmark_repetitions=N the medians are
// compared; without, the single runs. Times are CPU times per iteration,
// which a machine shared with other jobs disturbs less than wall time.
//
// Output lines, one per pair, ready to copy:
//   RATIO <label>: own <t> / <peer> <t> = <r>x (goal <= <g>x) MET|NOT MET
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace tavo::bench {

struct RatioPair {
    std::string label;  // what is measured, e.g. "inflate 12 MB mixed corpus"
    std::string own;    // benchmark name of ours, e.g. "BM_OwnInflate"
    std::string peer;   // benchmark name of the peer
    std::string peerName;
    double goal;        // the ratio own/peer must not exceed this
};

// Keeps each row's per-iteration CPU time in seconds: the median when
// repetitions ran, otherwise the plain run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Plain text, so that the ratio lines can be copied as they stand.
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            const std::string name = r.run_name.str();
            const double seconds = r.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
            if (r.run_type == Run::RT_Aggregate) {
                if (r.aggregate_name == "median") median_[name] = seconds;
            } else if (!single_.count(name)) {
                single_[name] = seconds;
            }
        }
    }
    // Seconds per iteration of `name`, or a negative value if it did not run.
    double Seconds(const std::string& name) const {
        if (auto it = median_.find(name); it != median_.end()) return it->second;
        if (auto it = single_.find(name); it != single_.end()) return it->second;
        return -1;
    }

private:
    std::map<std::string, double> median_, single_;
};

inline std::string FormatSeconds(double s) {
    char buf[32];
    if (s >= 1e-3) std::snprintf(buf, sizeof buf, "%.2f ms", s * 1e3);
    else std::snprintf(buf, sizeof buf, "%.2f us", s * 1e6);
    return buf;
}

inline int RunWithRatios(int argc, char** argv, const std::vector<RatioPair>& pairs) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const RatioPair& p : pairs) {
        const double own = reporter.Seconds(p.own), peer = reporter.Seconds(p.peer);
        if (own <= 0 || peer <= 0) continue;  // filtered out or failed
        const double ratio = own / peer;
        std::printf("RATIO %s: own %s / %s %s = %.2fx (goal <= %.2fx) %s\n", p.label.c_str(),
                    FormatSeconds(own).c_str(), p.peerName.c_str(), FormatSeconds(peer).c_str(), ratio, p.goal,
                    ratio <= p.goal ? "MET" : "NOT MET");
    }
    return 0;
}

}  // namespace tavo::bench
