// The measuring engine with eight detectors side by side, each on its own
// simulator's pseudo-terminal, four of them silent: how far apart the
// answered detectors' cycles start (3000 ms each, whatever the silent ones
// do), and the engine's processor share. Runs ORNET5_BENCH_SECONDS
// (default 30). Counters to read: worst_offset_ms, the largest difference
// of two successive cycle starts of an answered detector from 3000 ms;
// answered_cycles and silent_cycles; cpu_pct of one processor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_run.h"
#include "engine/engine.h"
#include "serial/port_names.h"
#include "tests/support/child_process.h"
#include "tests/support/cpu_share.h"
#include "tests/support/detector_event_times.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/temp_config_home.h"

namespace ornet5 {
namespace {

using namespace std::chrono;

constexpr int kDetectors = 8;

// A cycle starts with its status cleared.
bool IsCycleStart(const TDetectorEvent& event) {
    const auto* status = std::get_if<TStatusTextEvent>(&event);
    return status != nullptr && status->text.empty();
}

void EightDetectorsFourSilent(benchmark::State& state) {
    test::TTempConfigHome home;
    std::vector<std::unique_ptr<test::TChildProcess>> simulators;
    for (int number = 1; number <= kDetectors; ++number) {
        const bool silent = number > kDetectors / 2;
        std::vector<std::string> options{"--link", home.ComLink(number).string()};
        options.push_back(silent ? "--silent" : "--random-start");
        if (!silent) {
            options.push_back(std::to_string(number));
        }
        simulators.push_back(std::make_unique<test::TChildProcess>(ORNET5_SIM_PATH, options));
        if (!simulators.back()->WaitUntilReady()) {
            state.SkipWithError(
                ("a simulator did not start: " + simulators.back()->Output()).c_str());
            return;
        }
    }
    test::TFixedFormats formats;
    for (auto _ : state) {
        TEngine engine;
        std::deque<test::TDetectorEventTimes<steady_clock>> starts;
        for (int i = 0; i < kDetectors; ++i) {
            engine.Add({ComPortName(i + 1), {}, {}, {}}, {formats, {}})
                .AddObserver(starts.emplace_back(IsCycleStart));
        }
        const double cpuBefore = test::ProcessCpuSeconds();
        const auto wallBefore = steady_clock::now();
        engine.Start();
        std::this_thread::sleep_for(bench::MeasuredTime(10, 30));
        engine.Stop();
        const double cpu = test::ProcessCpuSeconds() - cpuBefore;
        const double wall = duration<double>(steady_clock::now() - wallBefore).count();

        double worstOffsetMs = 0;
        std::size_t answered = 0;
        std::size_t silent = 0;
        for (int i = 0; i < kDetectors; ++i) {
            const auto times = starts[static_cast<std::size_t>(i)].Times();
            if (i >= kDetectors / 2) {
                silent += times.size();
                continue;
            }
            answered += times.size();
            for (std::size_t k = 1; k < times.size(); ++k) {
                const double gapMs = duration<double, std::milli>(times[k] - times[k - 1]).count();
                worstOffsetMs = std::max(worstOffsetMs, std::abs(gapMs - 3000.0));
            }
        }
        state.counters["worst_offset_ms"] = worstOffsetMs;
        state.counters["answered_cycles"] = static_cast<double>(answered);
        state.counters["silent_cycles"] = static_cast<double>(silent);
        state.counters["cpu_pct"] = 100.0 * cpu / wall;
        if (answered < 2 * kDetectors / 2) {
            state.SkipWithError("too few cycles to measure");
        }
    }
}
BENCHMARK(EightDetectorsFourSilent)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace ornet5
