// The main of the benchmarks that need nothing set up before their run.
#include <benchmark/benchmark.h>

#include "bench/bench_run.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    return ornet5::bench::RunBenchmarks(argc, argv);
}
