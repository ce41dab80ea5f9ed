#include "bench/bench_run.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ornet5::bench {
namespace {

class TErrorCountingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            errors += run.error_occurred ? 1 : 0;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    int errors = 0;
};

}  // namespace

int RunBenchmarks(int argc, char** argv) {
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    TErrorCountingReporter reporter;
    const std::size_t run = benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (run == 0) {
        std::fprintf(stderr, "no benchmark ran\n");
        return 1;
    }
    if (reporter.errors > 0) {
        std::fprintf(stderr, "%d benchmark(s) could not measure\n", reporter.errors);
        return 1;
    }
    return 0;
}

std::chrono::seconds MeasuredTime(int shortest, int usual) {
    const char* text = std::getenv("ORNET5_BENCH_SECONDS");
    return std::chrono::seconds(text != nullptr ? std::max(shortest, std::atoi(text)) : usual);
}

}  // namespace ornet5::bench
