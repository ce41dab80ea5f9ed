#pragma once

#include <chrono>

namespace ornet5::bench {

// How long a benchmark that runs for a while measures: ORNET5_BENCH_SECONDS
// when set (at least shortest), else usual.
std::chrono::seconds MeasuredTime(int shortest, int usual);

// Runs the benchmarks that the command line selects, after
// benchmark::Initialize. Google Benchmark's own main ends with 0 even when a
// benchmark stopped with an error, or none matched the filter, and nothing
// was measured; this returns 1 then, and 2 for an unknown argument, so that
// no script takes a missing figure for a measured one.
int RunBenchmarks(int argc, char** argv);

}  // namespace ornet5::bench
