#pragma once
// How a benchmark program runs: at full size for its figures (tools/bench), or once at a tiny
// size with VENDURA_BENCH_SMOKE set, as tools/test runs every benchmark so that one a change
// breaks fails the suite instead of rotting unseen. Either way a check that fails ends the
// program with status 1, naming what did not hold.
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vendura::bench {

inline bool smoke() {
    return qEnvironmentVariableIsSet("VENDURA_BENCH_SMOKE");
}

// The full size, or the tiny one of a smoke run.
inline int sized(int full, int tiny) {
    return smoke() ? tiny : full;
}

// A size the environment may change (VENDURA_BENCH_DAYS=60), else the fallback.
inline int setting(const char* name, int fallback) {
    const int v = qEnvironmentVariableIntValue(name);
    return v > 0 ? v : fallback;
}

inline void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "benchmark check failed: %s\n", what);
    std::fflush(stderr);
    std::exit(1);
}

// The value below which a share `p` of `sorted` lies (nearest rank); 0 for no values.
inline double percentileOfSorted(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    return sorted[std::min(sorted.size() - 1, size_t(p * double(sorted.size())))];
}

inline double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return percentileOfSorted(values, p);
}

}  // namespace vendura::bench
