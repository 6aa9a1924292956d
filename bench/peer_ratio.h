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

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
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

// Our time and the peer's taken in turns, round after round (the order
// swapped each round), and the median of each round's ratio: a machine whose
// speed drifts over seconds moves both sides of a round alike, where
// repetitions of one benchmark after the other's would not be compared at
// the same speed. Times are the calling thread's CPU time of one call.
struct PairedResult {
    double ownSeconds;   // median
    double peerSeconds;  // median
    double ratio;        // median of the rounds' ratios
};

inline double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

inline PairedResult PairedRatio(const std::function<void()>& own, const std::function<void()>& peer, int rounds) {
    auto timed = [](const std::function<void()>& f) {
        const double t0 = ThreadSeconds();
        f();
        return ThreadSeconds() - t0;
    };
    own();  // warm both: caches, pages of the output buffers
    peer();
    std::vector<double> owns, peers, ratios;
    for (int i = 0; i < rounds; ++i) {
        double o = 0, p = 0;
        if (i % 2 == 0) {
            o = timed(own);
            p = timed(peer);
        } else {
            p = timed(peer);
            o = timed(own);
        }
        owns.push_back(o);
        peers.push_back(p);
        if (p > 0) ratios.push_back(o / p);
    }
    return {Median(owns), Median(peers), Median(ratios)};
}

inline void PrintPaired(const std::string& label, const std::string& peerName, const PairedResult& r, int rounds,
                        double goal) {
    std::printf("RATIO %s, in turns (median of %d rounds): own %s / %s %s = %.2fx (goal <= %.2fx) %s\n",
                label.c_str(), rounds, FormatSeconds(r.ownSeconds).c_str(), peerName.c_str(),
                FormatSeconds(r.peerSeconds).c_str(), r.ratio, goal, r.ratio <= goal ? "MET" : "NOT MET");
}

}  // namespace tavo::bench
