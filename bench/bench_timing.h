#pragma once

// Timing a piece of work and reporting it beside its baseline, measured in the same run.

#include <benchmark/benchmark.h>

#include <chrono>

namespace bench {

// Seconds taken by f.
template <typename F> double seconds(F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Our time and the baseline's per iteration, and their ratio.
inline void report(benchmark::State &state, double ours, double baseline)
{
    const double n = double(state.iterations());
    state.counters["ours_ms"] = 1000 * ours / n;
    state.counters["baseline_ms"] = 1000 * baseline / n;
    state.counters["ratio"] = ours / baseline;
}

} // namespace bench
