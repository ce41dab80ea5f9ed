#pragma once

namespace ornet5::bench {

// Runs the benchmarks that the command line selects, after
// benchmark::Initialize. Google Benchmark's own main ends with 0 even when a
// benchmark stopped with an error, or none matched the filter, and nothing
// was measured; this returns 1 then, and 2 for an unknown argument, so that
// no script takes a missing figure for a measured one.
int RunBenchmarks(int argc, char** argv);

}  // namespace ornet5::bench
