#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "app/window_layout.h"

namespace ornet5 {

// The designs' fonts and places in Qt's terms. Where the design's Windows
// font is missing, a metric-compatible or close stand-in is named next, so
// that the texts keep about the widths they were laid out for. Every window
// of the program takes its fonts from here, so all fall back alike.
QFont DesignFont(const TDesignFont& font);

constexpr QRect QtRect(const TLayoutRect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

constexpr QSize QtSize(const TLayoutSize& size) {
    return {size.width, size.height};
}

// A new control, named as the design names it (tests and the settings
// store find it by that name), at its design place.
template <class TControl>
TControl* Place(TControl* control, const char* name, const TLayoutRect& place) {
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(QtRect(place));
    return control;
}

}  // namespace ornet5
