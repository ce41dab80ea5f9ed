// 20 ReadBytes calls on a silent pseudo-terminal with the default 200 ms
// input timeout, timed by wall clock and by processor time. A driver that
// waits in poll() shows a processor share near 0 %; one that spins on the
// clock shows 100 %. The counter cpu_over_wall_pct is the figure to read.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

#include "serial/cp_drv.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/pty_pair.h"

namespace ornet5 {
namespace {

constexpr int kReadsPerRun = 20;
constexpr std::uint32_t kReplyMaximum = 280;  // what the request exchange asks for

void SilentReadBytes(benchmark::State& state) {
    TPtyPair pty;
    TManualTickSource ticks;
    TCPDrv driver(ticks);
    driver.SetPortName(pty.SlavePath());
    if (!driver.OpenPort()) {
        state.SkipWithError("the pseudo-terminal does not open");
        return;
    }
    char buffer[kReplyMaximum];
    double cpuSeconds = 0;
    double wallSeconds = 0;
    for (auto _ : state) {
        const std::clock_t cpuStart = std::clock();
        const auto wallStart = std::chrono::steady_clock::now();
        for (int i = 0; i < kReadsPerRun; ++i) {
            benchmark::DoNotOptimize(driver.ReadBytes(buffer, kReplyMaximum));
        }
        wallSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cpuSeconds += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    }
    state.counters["reads"] =
        static_cast<double>(kReadsPerRun) * static_cast<double>(state.iterations());
    state.counters["wall_ms_per_read"] =
        1000.0 * wallSeconds / (kReadsPerRun * static_cast<double>(state.iterations()));
    state.counters["cpu_over_wall_pct"] = 100.0 * cpuSeconds / wallSeconds;
}

BENCHMARK(SilentReadBytes)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ornet5
