#pragma once

#include <string>
#include <string_view>

namespace ornet5 {

// Values the scale is built for: a highest value outside this range is
// taken as its nearest end, so that every step, top and position stays a
// finite double. The detector's readings (1e-35 to 1e32 µSv/h, 100 times
// that in µR/h) lie well inside.
inline constexpr double kSmallestScaledValue = 1e-200;
inline constexpr double kLargestScaledValue = 1e200;

// A linear value axis from 0 to a round top, cut into 4 to 8 equal steps of
// 1, 2 or 5 times a power of ten; the axis carries stepCount + 1 ticks, the
// first at 0 and the last at the top.
struct TValueScale {
    int stepCount = 5;
    int stepMantissa = 2;
    int stepExponent = -1;
    double top = 1;

    // Tick index's value, stepMantissa × index × 10^stepExponent, rounded
    // once from the exact decimal: the last one is the top.
    double TickValue(int index) const;
};

// The finest scale whose top holds highest. A highest below
// kSmallestScaledValue (nothing to show, all readings 0) gives the scale
// of fallback instead, which must be positive. The top holds highest to a
// relative 1e-9, so that a highest that is a round decimal (1e-07, 0.3)
// gets that number as its top despite binary rounding.
TValueScale ValueScaleFor(double highest, double fallback);

// Tick index's label: "0" at the bottom; above it the exact decimal with as
// many decimals as the step has ("0,25" for steps of 0.05, "40" for steps
// of 10) while the step is 1e-4 or more and below 1e5; beyond that a mantissa with
// one digit before the separator and a two-digit exponent, as the main
// window writes large doses ("2E-08", "1,5E31").
std::string TickLabel(const TValueScale& scale, int index, std::string_view decimalSeparator);

}  // namespace ornet5
