// The window thread's longest busy spell while the program polls the
// detector simulator every 3 s: with a detector that answers, one that is
// silent, and a line that babbles junk bytes. A thread beside the window
// thread posts a call to it every 2 ms, as a person's clicks and the window
// system's redraws would come, and for each call takes how long it waited
// to run (wall time) and how much of that the window thread spent working
// (its own processor time). On Qt's offscreen platform, the program put
// together as it runs, its journal written. Counters to read, over the
// cycles measured (ORNET5_BENCH_SECONDS, default 15, after the first
// cycle): longest_busy_ms, the window thread's longest work while a call
// waited; longest_wait_ms, the longest wait, which also holds whatever the
// machine did meanwhile (on a virtual machine, pauses of tens of ms); and
// cycles. The same in an event loop with no program at all shows the
// machine's own share.
#include <benchmark/benchmark.h>

#include <pthread.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <QEventLoop>
#include <QTimer>

#include "app/qt/face.h"
#include "app/qt/guarded_application.h"
#include "app/qt/program.h"
#include "bench/bench_run.h"
#include "bench/offscreen_homes.h"
#include "tests/support/child_process.h"

namespace ornet5 {
namespace {

using namespace std::chrono;

TGuardedApplication* application = nullptr;
// The window thread's processor clock, readable from any thread.
clockid_t windowThreadClock{};

steady_clock::duration WindowThreadCpu() {
    timespec now{};
    clock_gettime(windowThreadClock, &now);
    return seconds(now.tv_sec) + nanoseconds(now.tv_nsec);
}

// Rows the detector recorded: one per cycle.
class TCycleCount : public TDetectorObserver {
  public:
    void Observe(const TDetectorEvent& event) override {
        cycles += std::holds_alternative<TRowEvent>(event) ? 1 : 0;
    }
    std::atomic<int> cycles = 0;
};

// Posts a call to the window thread every 2 ms while it lives and keeps the
// longest time one of them waited to run, and the longest work of the
// window thread while one waited.
class TWindowThreadPing {
  public:
    TWindowThreadPing()
        : pinger_([this](const std::stop_token& stop) {
              while (!stop.stop_requested()) {
                  const auto posted = steady_clock::now();
                  const auto cpuPosted = WindowThreadCpu();
                  QMetaObject::invokeMethod(
                      application,
                      [this, posted, cpuPosted] {
                          longestWait_ = std::max(longestWait_, steady_clock::now() - posted);
                          longestBusy_ = std::max(longestBusy_, WindowThreadCpu() - cpuPosted);
                      },
                      Qt::QueuedConnection);
                  std::this_thread::sleep_for(2ms);
              }
          }) {}

    // Read on the window thread.
    void Count(benchmark::State& state) const {
        state.counters["longest_busy_ms"] = duration<double, std::milli>(longestBusy_).count();
        state.counters["longest_wait_ms"] = duration<double, std::milli>(longestWait_).count();
    }

  private:
    steady_clock::duration longestWait_{0};
    steady_clock::duration longestBusy_{0};
    std::jthread pinger_;
};

void RunEventLoop(milliseconds time) {
    QEventLoop loop;
    QTimer::singleShot(time, &loop, &QEventLoop::quit);
    loop.exec();
}

void NoProgram(benchmark::State& state) {
    for (auto _ : state) {
        const TWindowThreadPing ping;
        RunEventLoop(bench::MeasuredTime(6, 15));
        ping.Count(state);
    }
}
BENCHMARK(NoProgram)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

void LongestBusySpell(benchmark::State& state, std::vector<std::string> simulatorOptions) {
    const std::string link = std::string(std::getenv("XDG_CONFIG_HOME")) + "/ornet5/com3";
    simulatorOptions.insert(simulatorOptions.end(), {"--link", link});
    test::TChildProcess simulator(ORNET5_SIM_PATH, simulatorOptions);
    if (!simulator.WaitUntilReady()) {
        state.SkipWithError(("the simulator did not start: " + simulator.Output()).c_str());
        return;
    }
    for (auto _ : state) {
        TProgram program(*application);
        // Shown, so that each new dose is painted as it would be.
        program.MainWindow().show();
        TCycleCount count;
        program.Detector().AddObserver(count);
        // The first cycle comes 3 s after the start; the start itself is
        // not a cycle's work.
        RunEventLoop(2500ms);
        {
            const TWindowThreadPing ping;
            RunEventLoop(bench::MeasuredTime(6, 15));
            ping.Count(state);
        }
        program.Detector().RemoveObserver(count);
        state.counters["cycles"] = count.cycles.load();
        if (count.cycles == 0) {
            state.SkipWithError("no cycle ran");
        }
    }
}
BENCHMARK_CAPTURE(LongestBusySpell, answered, std::vector<std::string>{"--word", "FC7B"})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(LongestBusySpell, silent, std::vector<std::string>{"--silent"})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(LongestBusySpell, babbling, std::vector<std::string>{"--silent", "--babble", "1"})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace ornet5

int main(int argc, char** argv) {
    const ornet5::bench::TOffscreenHomes homes;
    std::filesystem::create_directories(homes.Config() / "ornet5");
    benchmark::Initialize(&argc, argv);
    ornet5::TGuardedApplication application(argc, argv);
    ornet5::application = &application;
    pthread_getcpuclockid(pthread_self(), &ornet5::windowThreadClock);
    const int result = ornet5::bench::RunBenchmarks(argc, argv);
    ornet5::application = nullptr;
    return result;
}
