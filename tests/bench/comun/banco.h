#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

// What every benchmark prints and how it sums up its runs.
namespace kv::bench {

// One figure as the benchmark runner reads it: "BENCH <name> <value> <unit> goal <goal>".
inline void Bench(const char *name, double value, const char *unit, const char *goal)
{
    std::printf("BENCH %s %.6f %s goal %s\n", name, value, unit, goal);
    std::fflush(stdout);
}

inline double Median(std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace kv::bench
