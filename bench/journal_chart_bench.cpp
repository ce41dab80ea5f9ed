// One rebuild of the journal window's chart, as the window makes it for
// each new row: 30 days of rows every 3 s (864 000, one in fifty without a
// reading) over a plot 700 pixels wide, and the last hour of the same rows
// at the same width. The window needs a rebuild well under 50 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "app/journal_chart.h"

namespace ornet5 {
namespace {

constexpr std::int64_t kPollPeriodMs = 3000;
constexpr std::int64_t kDayMs = 24 * 3'600'000;
constexpr std::int64_t kNowUtcMs = 1'796'729'832'345;  // 2026-12-08 11:37:12.345 UTC
constexpr int kWidth = 700;
constexpr int kHeight = 300;

std::vector<TJournalPoint> MonthOfRows() {
    std::vector<TJournalPoint> rows;
    for (std::int64_t t = kNowUtcMs - 30 * kDayMs; t <= kNowUtcMs; t += kPollPeriodMs) {
        const auto index = static_cast<double>(rows.size());
        if (rows.size() % 50 == 0) {
            rows.push_back({t});
        } else {
            rows.push_back({t, 0.12 + 0.05 * std::sin(index / 1000), TCycleStatus::Ok});
        }
    }
    return rows;
}

void RebuildChart(benchmark::State& state, std::int64_t spanMs) {
    const std::vector<TJournalPoint> rows = MonthOfRows();
    const TChartFormats formats{100, "мкР/ч", ",",
                                [](std::int64_t) { return std::chrono::minutes(180); }};
    const TJournalChartInput input{rows, kNowUtcMs - spanMs, kNowUtcMs, kWidth, kHeight, formats,
                                   0.3};
    for (auto _ : state) {
        const TJournalChart chart(input);
        benchmark::DoNotOptimize(chart.MeanLines().data());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}

void MonthChart(benchmark::State& state) {
    RebuildChart(state, 30 * kDayMs);
}

void HourChartOfMonthRows(benchmark::State& state) {
    RebuildChart(state, 3'600'000);
}

BENCHMARK(MonthChart)->Unit(benchmark::kMillisecond);
BENCHMARK(HourChartOfMonthRows)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ornet5
