#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/journal_chart.h"
#include "app/window_layout.h"

namespace ornet5 {

// What each part of the chart is drawn as; the views give each its colour.
enum class TChartInk {
    Frame,      // the plot's frame and the ticks' marks
    Grid,       // the lines of the ticks across the plot
    Bar,        // a column's minimum to maximum
    Mean,       // the line of the means
    Threshold,  // the alarm's threshold
    Text,       // the labels
};

// A colour by its red, green and blue parts.
struct TRgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// The ink's colour; none for the frame and the labels, which take the
// system's window text colour.
std::optional<TRgb> InkColour(TChartInk ink);

enum class TTextAlign { Left, Centre, Right };

struct TChartLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    TChartInk ink = TChartInk::Frame;
};

// A filled rectangle.
struct TChartRect {
    TLayoutRect rect;
    TChartInk ink = TChartInk::Bar;
};

// A label on one line: x is its left end, middle or right end by align, y
// its vertical middle.
struct TChartText {
    int x = 0;
    int y = 0;
    std::string text;
    TTextAlign align = TTextAlign::Left;
};

// The chart as the views draw it, in the chart control's coordinates:
// rectangles first, then lines, then texts. A line includes both ends.
struct TChartDrawing {
    std::vector<TChartRect> rects;
    std::vector<TChartLine> lines;
    std::vector<TChartText> texts;
};

// The frame and the grid of both axes with their labels, a bar per column
// with readings, the line of the means, the threshold, and the unit; plot
// is where the chart's plot area lies in the control, of the chart's size.
TChartDrawing DrawChart(const TJournalChart& chart, const TLayoutRect& plot);

}  // namespace ornet5
