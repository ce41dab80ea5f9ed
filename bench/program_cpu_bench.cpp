// The polling program's share of one processor: ORNET5 polling ornet5-sim
// every 3 s for a couple of minutes (ORNET5_BENCH_SECONDS, default 120),
// its journal written at each cycle, measured from its first reading on by
// its own processor time (user and system, /proc/<pid>/stat) over the wall
// time. On the X display when there is one, else on Qt's offscreen
// platform. Counters to read: cpu_pct, and cycles for the journal rows
// written meanwhile.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_run.h"
#include "bench/process_stat.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_config_home.h"

namespace ornet5 {
namespace {

using namespace std::chrono;
namespace fs = std::filesystem;

// Rows of answered cycles in the journal's files.
long ReadingRows(const fs::path& journal) {
    long rows = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(journal, error)) {
        std::ifstream file(entry.path(), std::ios::binary);
        for (std::string line; std::getline(file, line);) {
            rows += line.find(",ok,") != std::string::npos ? 1 : 0;
        }
    }
    return rows;
}

void PollingProgram(benchmark::State& state) {
    test::TTempConfigHome home;
    const fs::path dataHome = home.Path() / "data";
    const fs::path journal = dataHome / "ornet5" / "journal";
    test::TChildProcess simulator(ORNET5_SIM_PATH,
                                  {"--word", "FC7B", "--link", home.ComLink(3).string()},
                                  {home.EnvironmentEntry()});
    if (!simulator.WaitUntilReady()) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    std::vector<std::string> environment{home.EnvironmentEntry(),
                                         "XDG_DATA_HOME=" + dataHome.string()};
    if (std::getenv("DISPLAY") == nullptr) {
        environment.push_back("QT_QPA_PLATFORM=offscreen");
    }
    test::TChildProcess program(ORNET5_PROGRAM_PATH, {}, environment);
    const auto firstLimit = steady_clock::now() + 20s;
    while (ReadingRows(journal) == 0 && steady_clock::now() < firstLimit) {
        std::this_thread::sleep_for(200ms);
    }
    const long rowsBefore = ReadingRows(journal);
    const std::optional<double> cpuBefore = bench::ProcessorSeconds(program.Pid());
    if (rowsBefore == 0 || !cpuBefore) {
        state.SkipWithError(("no reading came: " + program.Output()).c_str());
        return;
    }
    const auto wallStart = steady_clock::now();
    for (auto _ : state) {
        const auto end = wallStart + bench::MeasuredTime(10, 120);
        while (steady_clock::now() < end) {
            std::this_thread::sleep_for(1s);
            // Keeps the two output pipes from filling up.
            simulator.Output();
            program.Output();
        }
    }
    const double wall = duration<double>(steady_clock::now() - wallStart).count();
    const std::optional<double> cpuAfter = bench::ProcessorSeconds(program.Pid());
    if (!cpuAfter) {
        state.SkipWithError(("the program ended: " + program.Output()).c_str());
        return;
    }
    state.counters["cycles"] = static_cast<double>(ReadingRows(journal) - rowsBefore);
    state.counters["cpu_ms"] = (*cpuAfter - *cpuBefore) * 1e3;
    state.counters["wall_s"] = wall;
    state.counters["cpu_pct"] = 100.0 * (*cpuAfter - *cpuBefore) / wall;
}
BENCHMARK(PollingProgram)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace ornet5
