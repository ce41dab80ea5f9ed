// The benchmarks' main. Google Benchmark's own ends with 0 even when a
// benchmark stopped with an error, or none matched the filter, and nothing
// was measured; here that fails the program, so that no script takes a
// missing figure for a measured one.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdio>
#include <vector>

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

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
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
