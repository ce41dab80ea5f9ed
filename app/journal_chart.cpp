#include "app/journal_chart.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace ornet5 {

namespace {

// An empty chart shows 0 to 1 µSv/h, where the natural background of
// 0.1 to 0.3 µSv/h and the usual alarm thresholds lie.
constexpr double kEmptyChartTopUSvH = 1;

void Require(bool condition, const char* problem) {
    if (!condition) {
        throw EJournalChartError(std::string("Журнал доз: ") + problem);
    }
}

void CheckInput(const TJournalChartInput& input) {
    Require(input.beginUtcMs >= 0 && input.endUtcMs <= kLatestChartUtcMs,
            "промежуток времени выходит за 1970-9999 годы");
    Require(input.beginUtcMs < input.endUtcMs, "промежуток времени пуст");
    Require(input.width >= 1 && input.width <= kMaxChartPixels && input.height >= 1 &&
                input.height <= kMaxChartPixels,
            "размер графика вне пределов от 1 до 16384 точек");
    const double factor = input.formats.unitFactor;
    Require(std::isfinite(factor) && factor > 0, "множитель единицы измерения не положителен");
    if (input.thresholdUSvH) {
        const double threshold = *input.thresholdUSvH * factor;
        Require(*input.thresholdUSvH >= 0 && threshold <= kLargestScaledValue,
                "порог не является мощностью дозы");
    }
    Require(static_cast<bool>(input.formats.utcOffsetAt), "не задано местное время");
}

}  // namespace

TJournalChart::TJournalChart(const TJournalChartInput& input)
    : beginUtcMs_(input.beginUtcMs),
      spanMs_(input.endUtcMs - input.beginUtcMs),
      width_(input.width),
      height_(input.height),
      unitFactor_(input.formats.unitFactor),
      unitText_(input.formats.unitText) {
    CheckInput(input);
    columns_.resize(static_cast<std::size_t>(width_));
    std::vector<TColumnTimes> times(columns_.size());
    AddReadings(input.samples, times);
    // The scale comes from the readings, and every row from the scale.
    BuildValueAxis(input.thresholdUSvH, input.formats);
    FinishColumns();
    BuildMeanLines(times);
    const std::int64_t intervalMs = TimeTickIntervalMs(spanMs_, width_);
    for (auto& tick :
         LocalTimeTicks(input.beginUtcMs, input.endUtcMs, intervalMs, input.formats.utcOffsetAt)) {
        timeTicks_.push_back({ColumnAt(tick.utcMs), std::move(tick.label)});
    }
}

int TJournalChart::ColumnAt(std::int64_t utcMs) const {
    if (utcMs <= beginUtcMs_) {
        return 0;
    }
    if (utcMs >= beginUtcMs_ + spanMs_) {
        return width_ - 1;
    }
    // Exact in 64 bits by the limits on the span and the width.
    return static_cast<int>((utcMs - beginUtcMs_) * width_ / spanMs_);
}

int TJournalChart::RowOf(double value) const {
    if (!(value > 0)) {
        return height_ - 1;
    }
    if (value >= scale_.top) {
        return 0;
    }
    return static_cast<int>(std::lround((height_ - 1) * (1 - value / scale_.top)));
}

// Sums go into mean until FinishColumns divides them: with each reading at
// most kLargestScaledValue, no sum of a column's readings can overflow.
void TJournalChart::AddReadings(std::span<const TJournalPoint> samples,
                                std::vector<TColumnTimes>& times) {
    const std::int64_t endUtcMs = beginUtcMs_ + spanMs_;
    for (const TJournalPoint& sample : samples) {
        if (sample.utcMs < beginUtcMs_ || sample.utcMs > endUtcMs || !sample.HasDose()) {
            continue;
        }
        const double value = sample.dose * unitFactor_;
        if (!(value >= 0 && value <= kLargestScaledValue)) {
            ++unusableReadings_;
            continue;
        }
        const auto x = static_cast<std::size_t>(ColumnAt(sample.utcMs));
        TChartColumn& column = columns_[x];
        if (column.readingCount == 0) {
            column.minimum = column.maximum = value;
        } else {
            column.minimum = std::min(column.minimum, value);
            column.maximum = std::max(column.maximum, value);
        }
        column.mean += value;
        ++column.readingCount;
        times[x].first = std::min(times[x].first, sample.utcMs);
        times[x].last = std::max(times[x].last, sample.utcMs);
    }
}

void TJournalChart::FinishColumns() {
    for (TChartColumn& column : columns_) {
        if (column.readingCount == 0) {
            continue;
        }
        // The division may round the mean a hair past a bound.
        column.mean = std::clamp(column.mean / column.readingCount, column.minimum, column.maximum);
        column.top = RowOf(column.maximum);
        column.bottom = RowOf(column.minimum);
    }
}

void TJournalChart::BuildMeanLines(const std::vector<TColumnTimes>& times) {
    const std::int64_t longestGapMs = std::max(kLongestBridgedGapMs, spanMs_ / width_);
    std::size_t previous = 0;
    bool anyBefore = false;
    for (std::size_t x = 0; x < columns_.size(); ++x) {
        if (columns_[x].readingCount == 0) {
            continue;
        }
        if (!anyBefore || times[x].first - times[previous].last > longestGapMs) {
            meanLines_.emplace_back();
        }
        meanLines_.back().push_back({static_cast<int>(x), RowOf(columns_[x].mean)});
        previous = x;
        anyBefore = true;
    }
}

void TJournalChart::BuildValueAxis(const std::optional<double>& threshold,
                                   const TChartFormats& formats) {
    double highest = threshold ? *threshold * unitFactor_ : 0;
    for (const TChartColumn& column : columns_) {
        if (column.readingCount > 0) {
            highest = std::max(highest, column.maximum);
        }
    }
    scale_ = ValueScaleFor(highest, kEmptyChartTopUSvH * unitFactor_);
    for (int index = 0; index <= scale_.stepCount; ++index) {
        valueTicks_.push_back(
            {RowOf(scale_.TickValue(index)), TickLabel(scale_, index, formats.decimalSeparator)});
    }
    if (threshold) {
        thresholdRow_ = RowOf(*threshold * unitFactor_);
    }
}

}  // namespace ornet5
