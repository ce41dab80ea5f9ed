#pragma once

#include <QFont>

namespace ornet5 {

// Fonts of the window design, by character height in pixels (the em height,
// without the font's internal leading). Where the design's Windows font is
// missing, a metric-compatible or close stand-in is named next, so that
// the texts keep about the widths they were laid out for. Every window of
// the program takes its fonts from here, so all fall back alike.
QFont SansSerifFont(int pixelHeight, bool bold = false);  // "MS Sans Serif"
QFont SerifFont(int pixelHeight, bool bold = false);      // "Times New Roman"

}  // namespace ornet5
