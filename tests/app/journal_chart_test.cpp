// The journal window's chart: columns and gaps, the value scale, local time
// ticks, the pixel mapping, and the texts under the chart.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "app/journal_chart.h"
#include "app/journal_chart_texts.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kHour = 3600 * kSecond;
constexpr std::int64_t kDay = 24 * kHour;
constexpr std::int64_t kNow = 1'796'729'832'345;  // 2026-12-08 11:37:12.345 UTC, 14:37 in Moscow

TJournalPoint Reading(std::int64_t utcMs, double dose) {
    return {utcMs, dose};
}
TJournalPoint Failed(std::int64_t utcMs) {
    return {utcMs};
}

TJournalChartInput Input(const std::vector<TJournalPoint>& samples, std::int64_t begin,
                         std::int64_t end, int width) {
    TJournalChartInput input;
    input.samples = samples;
    input.beginUtcMs = begin;
    input.endUtcMs = end;
    input.width = width;
    input.height = 201;
    input.formats = {1, "мкЗв/ч", ",", [](std::int64_t) { return 180min; }};
    return input;
}

std::vector<std::string> Labels(const std::vector<TChartTick>& ticks) {
    std::vector<std::string> labels;
    for (const auto& tick : ticks) {
        labels.push_back(tick.label);
    }
    return labels;
}

TEST(JournalChartColumns, HoldMinimumMeanAndMaximumWithBordersAndSpanEnds) {
    // 10 columns of 1 s each.
    const std::vector<TJournalPoint> samples = {
        Reading(kNow - 1, 9),      Reading(kNow, 0.5),  Reading(kNow + 999, 0.1),
        Reading(kNow + 1000, 0.3), Failed(kNow + 2500), Reading(kNow + 10'000, 0.2),
        Reading(kNow + 10'001, 9)};
    const TJournalChart chart(Input(samples, kNow, kNow + 10'000, 10));
    const auto& columns = chart.Columns();
    ASSERT_EQ(columns.size(), 10u);
    EXPECT_EQ(columns[0].readingCount, 2);
    EXPECT_DOUBLE_EQ(columns[0].minimum, 0.1);
    EXPECT_DOUBLE_EQ(columns[0].mean, 0.3);
    EXPECT_DOUBLE_EQ(columns[0].maximum, 0.5);
    EXPECT_EQ(columns[1].readingCount, 1);  // the row on the border
    EXPECT_EQ(columns[2].readingCount, 0);  // a failed cycle is a gap, not a zero
    EXPECT_EQ(columns[9].readingCount, 1);  // the row at the span's end
    // Scale 0 to 0.5 over rows 200 to 0.
    EXPECT_EQ(chart.Scale().top, 0.5);
    EXPECT_EQ(columns[0].top, 0);
    EXPECT_EQ(columns[0].bottom, 160);
    // Columns 0 and 1 are joined; 9 s without a reading part them from 9.
    EXPECT_EQ(chart.MeanLines().size(), 2u);
}

TEST(JournalChartColumns, MeanLineBreaksOnlyWhereReadingsAreMissing) {
    const auto pieces = [](std::int64_t span, int width, std::int64_t outageFrom,
                           std::int64_t outageTo) {
        std::vector<TJournalPoint> samples;
        for (std::int64_t t = kNow; t <= kNow + span; t += 3 * kSecond) {
            const bool out = t >= kNow + outageFrom && t < kNow + outageTo;
            samples.push_back(out ? Failed(t) : Reading(t, 0.1));
        }
        return TJournalChart(Input(samples, kNow, kNow + span, width)).MeanLines().size();
    };
    // Columns of 3 s: one failed cycle breaks the line.
    EXPECT_EQ(pieces(kHour, 1200, 0, 0), 1u);
    EXPECT_EQ(pieces(kHour, 1200, 600 * kSecond, 601 * kSecond), 2u);
    // Columns of 1.5 s, every other one empty: readings 3 s apart still join.
    EXPECT_EQ(pieces(kHour, 2400, 0, 0), 1u);
    // Columns of 10 min: an outage of 8 min across a border is bridged, as
    // it would be inside a column; one of 12 min breaks the line.
    EXPECT_EQ(pieces(100 * 60 * kSecond, 10, 56 * 60 * kSecond, 64 * 60 * kSecond), 1u);
    EXPECT_EQ(pieces(100 * 60 * kSecond, 10, 55 * 60 * kSecond, 67 * 60 * kSecond), 2u);
}

TEST(JournalChartColumns, LeaveOutReadingsThatCannotBeDrawn) {
    const std::vector<TJournalPoint> samples = {Reading(kNow, -1), Reading(kNow, INFINITY),
                                                Reading(kNow, 1e201), Reading(kNow, 1e31)};
    const TJournalChart chart(Input(samples, kNow, kNow + kHour, 100));
    EXPECT_EQ(chart.UnusableReadingCount(), 3);
    EXPECT_EQ(chart.Columns()[0].readingCount, 1);
}

TEST(JournalChartScale, IsRoundAndHoldsTheHighestValue) {
    struct TCase {
        double highest;
        double top;
        std::vector<std::string> labels;
    };
    const std::vector<TCase> cases = {
        {0.123, 0.14, {"0", "0,02", "0,04", "0,06", "0,08", "0,10", "0,12", "0,14"}},
        {0.07, 0.07, {"0", "0,01", "0,02", "0,03", "0,04", "0,05", "0,06", "0,07"}},
        {0, 1, {"0", "0,2", "0,4", "0,6", "0,8", "1,0"}},  // the fallback
        {1e-07, 1e-07, {"0", "2E-08", "4E-08", "6E-08", "8E-08", "1E-07"}},
        {1e+31, 1e+31, {"0", "2E30", "4E30", "6E30", "8E30", "1E31"}},
        {12345, 14000, {"0", "2000", "4000", "6000", "8000", "10000", "12000", "14000"}},
        {1.6e-3,
         1.6e-3,
         {"0", "0,0002", "0,0004", "0,0006", "0,0008", "0,0010", "0,0012", "0,0014", "0,0016"}},
        {3.2e6, 3.5e6, {"0", "5E05", "1E06", "1,5E06", "2E06", "2,5E06", "3E06", "3,5E06"}}};
    for (const auto& c : cases) {
        const TValueScale scale = ValueScaleFor(c.highest, 1);
        EXPECT_DOUBLE_EQ(scale.top, c.top) << c.highest;
        std::vector<std::string> labels;
        for (int i = 0; i <= scale.stepCount; ++i) {
            labels.push_back(TickLabel(scale, i, ","));
        }
        EXPECT_EQ(labels, c.labels) << c.highest;
    }
    // Over the whole range: 4 to 8 steps, finite, holding the value, at
    // most a quarter above it.
    for (double highest = 1e-200; highest < 1e200; highest *= 1.37) {
        const TValueScale scale = ValueScaleFor(highest, 1);
        ASSERT_TRUE(scale.stepCount >= 4 && scale.stepCount <= 8) << highest;
        ASSERT_TRUE(std::isfinite(scale.top) && scale.top >= highest * (1 - 1e-9) &&
                    scale.top <= highest * 1.2500001)
            << highest;
    }
}

TEST(JournalChartScale, HoldsTheThresholdAndMapsValuesToRows) {
    const std::vector<TJournalPoint> samples = {Reading(kNow, 0.12)};
    auto input = Input(samples, kNow - kHour, kNow, 700);
    input.thresholdUSvH = 0.3;
    input.formats.unitFactor = 100;  // µR/h
    const TJournalChart chart(input);
    EXPECT_DOUBLE_EQ(chart.Scale().top, 30);
    EXPECT_EQ(chart.ThresholdRow(), 0);
    EXPECT_EQ(chart.RowOf(15), 100);
    EXPECT_EQ(chart.RowOf(0), 200);
    EXPECT_EQ(chart.RowOf(-1), 200);
    EXPECT_EQ(chart.RowOf(NAN), 200);
    EXPECT_EQ(chart.RowOf(1e300), 0);
    EXPECT_EQ(chart.ValueTicks().front().position, 200);
    EXPECT_EQ(chart.ValueTicks().back().position, 0);
    EXPECT_EQ(chart.ValueTicks().back().label, "30");
    EXPECT_EQ(chart.ColumnAt(kNow - kHour - 1), 0);
    EXPECT_EQ(chart.ColumnAt(kNow - kHour / 2), 350);
    EXPECT_EQ(chart.ColumnAt(kNow + 1), 699);
    // Without readings the µR/h chart shows 0 to 100.
    input.samples = {};
    input.thresholdUSvH.reset();
    const TJournalChart empty(input);
    EXPECT_DOUBLE_EQ(empty.Scale().top, 100);
    EXPECT_TRUE(empty.MeanLines().empty());
    EXPECT_FALSE(empty.ThresholdRow());
}

TEST(JournalChartTimeTicks, FitEachSpanOnRoundLocalTimes) {
    const auto labels = [](std::int64_t span) {
        const TJournalChart chart(Input({}, kNow - span, kNow, 700));
        for (std::size_t i = 1; i < chart.TimeTicks().size(); ++i) {
            EXPECT_GT(chart.TimeTicks()[i].position, chart.TimeTicks()[i - 1].position);
        }
        return Labels(chart.TimeTicks());
    };
    using TLabels = std::vector<std::string>;
    EXPECT_EQ(labels(kHour), (TLabels{"13:40", "13:50", "14:00", "14:10", "14:20", "14:30"}));
    EXPECT_EQ(labels(kDay),
              (TLabels{"15:00", "18:00", "21:00", "08.12", "03:00", "06:00", "09:00", "12:00"}));
    EXPECT_EQ(labels(7 * kDay),
              (TLabels{"02.12", "03.12", "04.12", "05.12", "06.12", "07.12", "08.12"}));
    EXPECT_EQ(labels(30 * kDay), (TLabels{"13.11", "18.11", "23.11", "28.11", "03.12", "08.12"}));
}

TEST(JournalChartTimeTicks, StayRoundAcrossAChangeOfOffset) {
    const auto ticks = [](std::int64_t change, std::chrono::minutes before,
                          std::chrono::minutes after, std::int64_t interval) {
        const TUtcOffsetAt offsetAt = [=](std::int64_t ms) { return ms < change ? before : after; };
        std::vector<std::string> texts;
        for (const auto& tick : LocalTimeTicks(change - 90 * 60 * kSecond,
                                               change + 150 * 60 * kSecond, interval, offsetAt)) {
            texts.push_back(tick.label + "@" + std::to_string((tick.utcMs - change) / 60'000));
        }
        return texts;
    };
    using TTexts = std::vector<std::string>;
    // Autumn, 03:00 summer time back to 02:00: that hour comes twice.
    const std::int64_t autumn = 1'792'890'000'000;  // 2026-10-25 01:00 UTC
    EXPECT_EQ(ticks(autumn, 120min, 60min, kHour),
              (TTexts{"02:00@-60", "02:00@0", "03:00@60", "04:00@120"}));
    // Spring, 02:00 forward to 03:00: that hour has no tick.
    const std::int64_t spring = 1'774'746'000'000;  // 2026-03-29 01:00 UTC
    EXPECT_EQ(ticks(spring, 60min, 120min, kHour),
              (TTexts{"01:00@-60", "03:00@0", "04:00@60", "05:00@120"}));
    // Local midnights stay midnights: 24 and 23 UTC hours after the change.
    const auto days = LocalTimeTicks(autumn - 3 * kDay, autumn + 3 * kDay, kDay,
                                     [=](std::int64_t ms) { return ms < autumn ? 120min : 60min; });
    ASSERT_EQ(days.size(), 6u);
    EXPECT_EQ(days[2].label + " " + days[3].label, "25.10 26.10");
    EXPECT_EQ(days[2].utcMs - days[1].utcMs, kDay);
    EXPECT_EQ(days[3].utcMs - days[2].utcMs, kDay + kHour);
}

TEST(JournalChart, RefusesInputItCannotDraw) {
    const auto refuses = [](auto change) {
        auto input = Input({}, kNow - kHour, kNow, 700);
        change(input);
        EXPECT_THROW(TJournalChart{input}, EJournalChartError);
    };
    refuses([](TJournalChartInput& in) { in.beginUtcMs = in.endUtcMs; });
    refuses([](TJournalChartInput& in) { in.beginUtcMs = -1; });
    refuses([](TJournalChartInput& in) { in.width = 0; });
    refuses([](TJournalChartInput& in) { in.height = kMaxChartPixels + 1; });
    refuses([](TJournalChartInput& in) { in.formats.unitFactor = 0; });
    refuses([](TJournalChartInput& in) { in.thresholdUSvH = NAN; });
    refuses([](TJournalChartInput& in) { in.thresholdUSvH = -0.1; });
    refuses([](TJournalChartInput& in) { in.formats.utcOffsetAt = nullptr; });
    refuses(
        [](TJournalChartInput& in) { in.formats.utcOffsetAt = [](std::int64_t) { return 24h; }; });
}

TEST(JournalChartTexts, SummariseTheSpanInTheWindowsUnit) {
    TChartFormats formats{100, "мкР/ч", ",", [](std::int64_t) { return 180min; }};
    const TJournalStatistics figures{1180, 20, 0.101, 0.12, 0.15, kNow, 0.0394};
    EXPECT_EQ(JournalSummaryLines(figures, formats, 0),
              (std::vector<std::string>{
                  "Минимум 10,00, среднее 12,00, максимум 15,00 мкР/ч (08.12 14:37:12)",
                  "Показаний: 1180, неудачных опросов: 20, накопленная доза: 3,94 мкР"}));
    EXPECT_EQ(JournalSummaryLines({0, 3}, formats, 2),
              (std::vector<std::string>{"Показаний за этот период нет",
                                        "Показаний: 0, неудачных опросов: 3, накопленная доза: "
                                        "0,00 мкР",
                                        "Не нанесены на график недопустимые показания: 2"}));
    EXPECT_EQ(JournalPeriodMs(TJournalPeriod::Month), 30 * kDay);
}

}  // namespace
}  // namespace ornet5
