// The journal window opened over 30 days of rows (about 864 000, in two
// month files, damaged lines among them): what its show does (reading the
// span, the statistics, the chart model and its drawing) and the paint of
// the chart, in the program's own windows on Qt's offscreen platform.
// Counters to read: wall_ms (show and paint) and peak_growth_MB (the most
// the resident memory grew over what it was before the show).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include <QRadioButton>

#include "app/qt/guarded_application.h"
#include "app/qt/journal_window.h"
#include "app/qt/program.h"
#include "bench/bench_run.h"
#include "bench/memory_growth.h"
#include "bench/offscreen_homes.h"
#include "tools/ornet5-journal-maker/journal_maker.h"

namespace ornet5 {
namespace {

using namespace std::chrono;

TProgram* program = nullptr;

void OpenJournalWindow(benchmark::State& state) {
    TJournalWindow& window = program->JournalWindow();
    // The window keeps its period between shows: 30 days from here on.
    window.ShowAndRaise();
    window.findChild<QRadioButton*>("rbPeriod3")->click();
    window.close();
    double wallSeconds = 0;
    long growthKb = 0;
    for (auto _ : state) {
        const bench::TMemoryGrowth growth;
        const auto start = steady_clock::now();
        window.ShowAndRaise();
        benchmark::DoNotOptimize(window.grab());
        wallSeconds += duration<double>(steady_clock::now() - start).count();
        growthKb = std::max(growthKb, growth.Kilobytes());
        window.close();
    }
    state.counters["wall_ms"] = wallSeconds * 1e3 / static_cast<double>(state.iterations());
    state.counters["peak_growth_MB"] = static_cast<double>(growthKb) / 1024.0;
}
BENCHMARK(OpenJournalWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace ornet5

int main(int argc, char** argv) {
    const ornet5::bench::TOffscreenHomes homes;
    ornet5::TJournalMakerOptions options;
    options.end = std::chrono::system_clock::now();
    options.alarmThreshold = 0.3;
    const ornet5::TMadeJournal made = ornet5::MakeJournal(
        homes.Data() / "ornet5" / "journal", options);
    benchmark::AddCustomContext(
        "journal", std::to_string(made.rows) + " rows, " + std::to_string(made.damagedLines) +
                       " damaged lines, " + std::to_string(made.files.size()) + " files");
    benchmark::Initialize(&argc, argv);
    ornet5::TGuardedApplication application(argc, argv);
    ornet5::TProgram program(application);
    ornet5::program = &program;
    const int result = ornet5::bench::RunBenchmarks(argc, argv);
    ornet5::program = nullptr;
    return result;
}
