#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/chart_time_ticks.h"
#include "app/chart_value_scale.h"
#include "app/window_layout.h"
#include "journal/journal_row.h"

namespace ornet5 {

// How the journal window writes numbers and times: in the unit the main
// window shows, with the user's decimal separator, in local time.
struct TChartFormats {
    // Display units per µSv/h: 1 for µSv/h, 100 for µR/h.
    double unitFactor = 1;
    std::string unitText;
    std::string decimalSeparator = ",";
    TUtcOffsetAt utcOffsetAt;
};

// Everything the chart is drawn from.
struct TJournalChartInput {
    // The journal's rows, in any order; rows outside the span are left out.
    std::span<const TJournalPoint> samples;
    // The span shown, both ends included, in UTC milliseconds since 1970.
    std::int64_t beginUtcMs = 0;
    std::int64_t endUtcMs = 0;
    // The plot area in pixels; positions are relative to its top left.
    int width = 0;
    int height = 0;
    TChartFormats formats;
    // The alarm threshold in µSv/h, drawn as a line when set.
    std::optional<double> thresholdUSvH;
};

// Limits of the input. Together they keep (time - begin) × width within
// 64 bits, so that a row's column is computed exactly.
inline constexpr std::int64_t kLatestChartUtcMs = 253'402'300'799'999;  // 9999-12-31 23:59:59.999
inline constexpr int kMaxChartPixels = 16384;
static_assert(kLatestChartUtcMs <= INT64_MAX / kMaxChartPixels);

// Between two readings further apart than this, or than one column's
// time if that is longer, the line of means breaks. It is longer than a
// 3000 ms poll period with its jitter and shorter than two periods, so
// any missed reading breaks the line where a column is finer than that;
// where columns are coarser, a stretch without readings that is at least a
// column long breaks it.
inline constexpr std::int64_t kLongestBridgedGapMs = 5000;

// One pixel column of the plot: the readings whose time falls in it.
struct TChartColumn {
    // 0: no reading in this column; it stays empty.
    int readingCount = 0;
    // In display units.
    double minimum = 0;
    double mean = 0;
    double maximum = 0;
    // The rows of the bar from maximum (top) to minimum (bottom), both
    // included: a rectangle one pixel wide.
    int top = 0;
    int bottom = 0;
};

// A tick of an axis: its pixel column (time) or row (value), its label.
struct TChartTick {
    int position = 0;
    std::string label;
};

// The journal window's chart, computed without a toolkit: the views draw
// exactly these rectangles, lines and texts and compute nothing. Built
// anew for each new row, span or size; 860 000 rows take a few
// milliseconds. Pixel rows grow downward, as on screens.
class TJournalChart {
  public:
    // Throws EJournalChartError for an empty or reversed span, a span not
    // within 1970 to 9999, a size outside 1 to kMaxChartPixels, a unit
    // factor that is not positive, a threshold that is negative or not
    // finite, an offset of a day or more from offsetAt (which must be set).
    // Keeps nothing of the input: the samples may go once it returns.
    explicit TJournalChart(const TJournalChartInput& input);

    // One per pixel column, left to right. Column x holds the rows in
    // [begin + x × span / width, begin + (x + 1) × span / width): a row on a
    // border belongs to the column right of it, a row at the span's end to
    // the last column.
    const std::vector<TChartColumn>& Columns() const { return columns_; }

    // The line through the columns' means, at their pixel columns, in
    // pieces that break where readings are missing (see
    // kLongestBridgedGapMs); a piece of one point has only its bar to show.
    const std::vector<std::vector<TLayoutPoint>>& MeanLines() const { return meanLines_; }

    const TValueScale& Scale() const { return scale_; }
    // From 0 at the bottom row to the scale's top at row 0.
    const std::vector<TChartTick>& ValueTicks() const { return valueTicks_; }
    const std::vector<TChartTick>& TimeTicks() const { return timeTicks_; }
    // The alarm threshold's row; empty without a threshold.
    std::optional<int> ThresholdRow() const { return thresholdRow_; }
    const std::string& UnitText() const { return unitText_; }

    // Readings that cannot be drawn: negative, or not finite in display
    // units, or beyond kLargestScaledValue. They are left out, and the
    // window says how many there were.
    int UnusableReadingCount() const { return unusableReadings_; }

    // The pixel column of a time, clamped to the plot for times outside
    // the span.
    int ColumnAt(std::int64_t utcMs) const;
    // The pixel row of a value in display units, rounded to the nearest
    // row and clamped to the plot: 0 and below at the bottom row, the
    // scale's top and above at row 0.
    int RowOf(double value) const;

  private:
    // First and last time of the readings in a column, for the gaps.
    struct TColumnTimes {
        std::int64_t first = INT64_MAX;
        std::int64_t last = INT64_MIN;
    };

    void AddReadings(std::span<const TJournalPoint> samples, std::vector<TColumnTimes>& times);
    void FinishColumns();
    void BuildMeanLines(const std::vector<TColumnTimes>& times);
    void BuildValueAxis(const std::optional<double>& threshold, const TChartFormats& formats);

    std::int64_t beginUtcMs_;
    std::int64_t spanMs_;
    int width_;
    int height_;
    double unitFactor_;
    std::string unitText_;
    std::vector<TChartColumn> columns_;
    std::vector<std::vector<TLayoutPoint>> meanLines_;
    TValueScale scale_;
    std::vector<TChartTick> valueTicks_;
    std::vector<TChartTick> timeTicks_;
    std::optional<int> thresholdRow_;
    int unusableReadings_ = 0;
};

}  // namespace ornet5
