// Poll cycles with the real driver against ornet5-sim on a pseudo-terminal:
// answered cycles (reading the dose) and unanswered ones (a silent
// detector), each timed by wall clock and by this process's processor time.
// The counters to read are wall_ms_per_cycle and cpu_over_wall_pct; the
// cycle waits in poll(), so the processor share stays near 0 %.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "measure/poll_cycle.h"
#include "serial/cp_drv.h"
#include "tests/support/child_process.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/steady_environment.h"
#include "tests/support/temp_config_home.h"

namespace ornet5 {
namespace {

constexpr int kComNumber = 6;
constexpr int kCyclesPerRun = 10;

// Without simulator options no simulator runs and the port does not open.
void RunCycles(benchmark::State& state, std::vector<std::string> simOptions,
               const char* expectedStatusStart) {
    test::TTempConfigHome home;
    std::optional<test::TChildProcess> sim;
    if (!simOptions.empty()) {
        simOptions.insert(simOptions.end(), {"--link", home.ComLink(kComNumber).string()});
        sim.emplace(ORNET5_SIM_PATH, simOptions, std::vector{home.EnvironmentEntry()});
        if (!sim->WaitUntilReady()) {
            state.SkipWithError("the simulator did not start");
            return;
        }
    }
    TManualTickSource ticks;
    TCPDrv port(ticks);
    test::TFakePollValues values;
    values.portIndex = kComNumber - 1;
    test::TFixedFormats formats;
    test::TSteadyEnvironment environment;
    TPollCycle cycle(port, values, environment, formats);
    cycle.TimerTrelanTimer();  // the first cycle identifies

    double cpuSeconds = 0;
    double wallSeconds = 0;
    int cycles = 0;
    for (auto _ : state) {
        for (int i = 0; i < kCyclesPerRun; ++i) {
            const std::clock_t cpuStart = std::clock();
            const auto wallStart = std::chrono::steady_clock::now();
            cycle.TimerTrelanTimer();
            wallSeconds +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
            cpuSeconds += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
            ++cycles;
            if (!values.statusText.starts_with(expectedStatusStart)) {
                state.SkipWithError(("unexpected status: " + values.statusText).c_str());
                return;
            }
            if (sim) {
                sim->Output();  // keeps the simulator's log pipe from filling up
            }
        }
    }
    state.counters["cycles"] = cycles;
    state.counters["wall_ms_per_cycle"] = 1000.0 * wallSeconds / cycles;
    state.counters["cpu_ms_per_cycle"] = 1000.0 * cpuSeconds / cycles;
    state.counters["cpu_over_wall_pct"] = 100.0 * cpuSeconds / wallSeconds;
}

void AnsweredCycle(benchmark::State& state) {
    RunCycles(state, {"--word", "FC7B"}, "В ");
}

// Without a detector the steps alternate, and both fail.
void UnansweredCycle(benchmark::State& state) {
    RunCycles(state, {"--silent"}, "Ошибка");
}

// A port that does not open: reads return at once, and the exchange pauses
// between them instead of spinning through its time limit.
void PortMissingCycle(benchmark::State& state) {
    RunCycles(state, {}, "Ошибка");
}

BENCHMARK(AnsweredCycle)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(UnansweredCycle)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PortMissingCycle)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ornet5
