// The dose journal: the processor time of appending one row, with and
// without the sync that makes each row durable, and the wall time and
// memory growth of reading back 30 days (about 864 000 rows) for the
// journal window. Counters to read: cpu_us_per_row (append), and
// wall_ms and peak_growth_MB (read).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/memory_growth.h"
#include "journal/journal_reader.h"
#include "journal/journal_writer.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

using namespace std::chrono;

constexpr seconds kCycle{3};
// Rows from 1 November: the 30 days back from 20 December need all of
// November's file scanned and most of December's.
const sys_days kFirstDay = 2026y / November / 1;
const sys_days kLastDay = 2026y / December / 20;

TJournalRow RowAt(system_clock::time_point time, long index) {
    return {{time, minutes{180}}, (100 + index % 900) / 1000.0, TCycleStatus::Ok, "4.2.31", false};
}

void AppendRow(benchmark::State& state) {
    const test::TTempFolder folder;
    std::ostringstream diagnostics;
    TJournalWriter writer(folder.Path(), diagnostics, SystemJournalDisk(),
                          {.durable = state.range(0) != 0});
    auto time = time_point_cast<system_clock::duration>(sys_days{kFirstDay});
    long index = 0;
    const std::clock_t cpuStart = std::clock();
    for (auto _ : state) {
        if (!writer.Append(RowAt(time, index++))) {
            state.SkipWithError(diagnostics.str().c_str());
            break;
        }
        time += kCycle;
    }
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    state.counters["cpu_us_per_row"] = cpuSeconds * 1e6 / static_cast<double>(index);
}
BENCHMARK(AppendRow)->ArgName("durable")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The rows as the program writes them, one every 3 s, into the month files.
void WriteDays(const std::filesystem::path& folder) {
    std::ofstream file;
    std::string month;
    std::string buffer;
    long index = 0;
    for (auto time = time_point_cast<system_clock::duration>(sys_days{kFirstDay});
         time < sys_days{kLastDay}; time += kCycle) {
        const TJournalRow row = RowAt(time, index++);
        if (JournalFileName(row.time) != month) {
            file << buffer;
            buffer.clear();
            month = JournalFileName(row.time);
            file = std::ofstream(folder / month, std::ios::binary);
            file << kJournalHeader;
        }
        buffer += JournalRowText(row);
        if (buffer.size() > (1 << 20)) {
            file << buffer;
            buffer.clear();
        }
    }
    file << buffer;
}

void ReadThirtyDays(benchmark::State& state) {
    const test::TTempFolder folder;
    WriteDays(folder.Path());
    const auto to = time_point_cast<system_clock::duration>(sys_days{kLastDay});
    const auto from = to - days{30};
    std::size_t rows = 0;
    double wallSeconds = 0;
    long growthKb = 0;
    for (auto _ : state) {
        const bench::TMemoryGrowth growth;
        const auto start = steady_clock::now();
        const TJournalSpan span = ReadJournalSpan(folder.Path(), from, to);
        wallSeconds += duration<double>(steady_clock::now() - start).count();
        growthKb = std::max(growthKb, growth.Kilobytes());
        rows = span.points.size();
        benchmark::DoNotOptimize(span.points.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["wall_ms"] = wallSeconds * 1e3 / static_cast<double>(state.iterations());
    state.counters["peak_growth_MB"] = static_cast<double>(growthKb) / 1024.0;
}
BENCHMARK(ReadThirtyDays)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace ornet5
