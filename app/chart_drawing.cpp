#include "app/chart_drawing.h"

namespace ornet5 {

namespace {

// How far labels stand off the plot, and a tick mark's length.
constexpr int kLabelGap = 4;
constexpr int kTickLength = 4;
// The time labels' middle below the plot.
constexpr int kTimeLabelDrop = 13;

void DrawValueAxis(const TJournalChart& chart, const TLayoutRect& plot, TChartDrawing& drawing) {
    for (const TChartTick& tick : chart.ValueTicks()) {
        const int y = plot.top + tick.position;
        drawing.lines.push_back({plot.left, y, plot.Right() - 1, y, TChartInk::Grid});
        drawing.lines.push_back({plot.left - kTickLength, y, plot.left - 1, y, TChartInk::Frame});
        drawing.texts.push_back(
            {plot.left - kTickLength - kLabelGap, y, tick.label, TTextAlign::Right});
    }
    drawing.texts.push_back(
        {plot.left + kLabelGap, plot.top + 2 * kLabelGap + 2, chart.UnitText(), TTextAlign::Left});
}

void DrawTimeAxis(const TJournalChart& chart, const TLayoutRect& plot, TChartDrawing& drawing) {
    for (const TChartTick& tick : chart.TimeTicks()) {
        const int x = plot.left + tick.position;
        drawing.lines.push_back({x, plot.top, x, plot.Bottom() - 1, TChartInk::Grid});
        drawing.lines.push_back(
            {x, plot.Bottom(), x, plot.Bottom() + kTickLength - 1, TChartInk::Frame});
        drawing.texts.push_back(
            {x, plot.Bottom() + kTimeLabelDrop, tick.label, TTextAlign::Centre});
    }
}

void DrawReadings(const TJournalChart& chart, const TLayoutRect& plot, TChartDrawing& drawing) {
    const std::vector<TChartColumn>& columns = chart.Columns();
    for (std::size_t x = 0; x < columns.size(); ++x) {
        const TChartColumn& column = columns[x];
        if (column.readingCount > 0) {
            drawing.rects.push_back({{plot.left + static_cast<int>(x), plot.top + column.top, 1,
                                      column.bottom - column.top + 1},
                                     TChartInk::Bar});
        }
    }
    for (const std::vector<TLayoutPoint>& piece : chart.MeanLines()) {
        for (std::size_t i = 1; i < piece.size(); ++i) {
            drawing.lines.push_back({plot.left + piece[i - 1].x, plot.top + piece[i - 1].y,
                                     plot.left + piece[i].x, plot.top + piece[i].y,
                                     TChartInk::Mean});
        }
    }
}

}  // namespace

std::optional<TRgb> InkColour(TChartInk ink) {
    switch (ink) {
        case TChartInk::Grid:
            return TRgb{0xd8, 0xd8, 0xd8};
        case TChartInk::Bar:
            return TRgb{0x9f, 0xc5, 0xe8};
        case TChartInk::Mean:
            return TRgb{0x1f, 0x4e, 0x9a};
        case TChartInk::Threshold:
            return TRgb{0xff, 0x00, 0x00};
        case TChartInk::Frame:
        case TChartInk::Text:
            break;
    }
    return std::nullopt;
}

TChartDrawing DrawChart(const TJournalChart& chart, const TLayoutRect& plot) {
    TChartDrawing drawing;
    DrawValueAxis(chart, plot, drawing);
    DrawTimeAxis(chart, plot, drawing);
    DrawReadings(chart, plot, drawing);
    if (const std::optional<int> row = chart.ThresholdRow()) {
        const int y = plot.top + *row;
        drawing.lines.push_back({plot.left, y, plot.Right() - 1, y, TChartInk::Threshold});
    }
    // The frame last, over the grid's ends.
    const int right = plot.Right() - 1;
    const int bottom = plot.Bottom() - 1;
    drawing.lines.push_back({plot.left, plot.top, right, plot.top, TChartInk::Frame});
    drawing.lines.push_back({right, plot.top, right, bottom, TChartInk::Frame});
    drawing.lines.push_back({plot.left, bottom, right, bottom, TChartInk::Frame});
    drawing.lines.push_back({plot.left, plot.top, plot.left, bottom, TChartInk::Frame});
    return drawing;
}

}  // namespace ornet5
