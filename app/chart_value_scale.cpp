#include "app/chart_value_scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace ornet5 {

namespace {

// A chart of 200 to 400 pixels reads well with 4 to 8 value ticks.
constexpr int kMinSteps = 4;
constexpr int kMaxSteps = 8;
constexpr std::array<int, 3> kStepMantissas = {1, 2, 5};

// 10^22 = 2^22 × 5^22 and 5^22 < 2^53: powers up to it are exact doubles.
constexpr int kLargestExactPower = 22;

// Step exponents written without an exponent: labels of at most six
// digits ("400000", "0,0004").
constexpr int kSmallestFixedExponent = -4;
constexpr int kLargestFixedExponent = 4;

// How far below a whole number of steps the highest value may lie and still
// count as that number: absorbs the rounding of a decimal such as 1e-07.
constexpr double kRoundingSlack = 1e-9;

double PowerOfTen(int exponent) {
    if (exponent > kLargestExactPower) {
        return std::pow(10.0, exponent);
    }
    double power = 1;
    for (int i = 0; i < exponent; ++i) {
        power *= 10;
    }
    return power;
}

// value × 10^exponent with one rounding when the power is exact.
double TimesPowerOfTen(double value, int exponent) {
    return exponent >= 0 ? value * PowerOfTen(exponent) : value / PowerOfTen(-exponent);
}

// Whole steps of mantissa × 10^exponent that reach highest.
int StepsToHold(double highest, int mantissa, int exponent) {
    const double steps = TimesPowerOfTen(highest, -exponent) / mantissa;
    return static_cast<int>(std::ceil(steps * (1 - kRoundingSlack)));
}

// At least two digits and no plus sign: 2 gives "02", -8 gives "-08".
std::string ExponentText(int exponent) {
    std::string digits = std::to_string(std::abs(exponent));
    if (digits.size() < 2) {
        digits.insert(0, "0");
    }
    return exponent < 0 ? "-" + digits : digits;
}

// units × 10^exponent written out, with -exponent decimals when negative.
std::string FixedText(int units, int exponent, std::string_view decimalSeparator) {
    std::string digits = std::to_string(units);
    if (exponent >= 0) {
        return digits + std::string(static_cast<std::size_t>(exponent), '0');
    }
    const auto decimals = static_cast<std::size_t>(-exponent);
    if (digits.size() <= decimals) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    const std::size_t integerDigits = digits.size() - decimals;
    return digits.substr(0, integerDigits) + std::string(decimalSeparator) +
           digits.substr(integerDigits);
}

// units × 10^exponent as d[,ddd]E±XX; units is positive.
std::string ScientificText(int units, int exponent, std::string_view decimalSeparator) {
    std::string digits = std::to_string(units);
    const int power = exponent + static_cast<int>(digits.size()) - 1;
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string text(1, digits.front());
    if (digits.size() > 1) {
        text += decimalSeparator;
        text += digits.substr(1);
    }
    return text + "E" + ExponentText(power);
}

}  // namespace

double TValueScale::TickValue(int index) const {
    return TimesPowerOfTen(static_cast<double>(stepMantissa) * index, stepExponent);
}

TValueScale ValueScaleFor(double highest, double fallback) {
    if (!(fallback >= kSmallestScaledValue && fallback <= kLargestScaledValue)) {
        fallback = 1;
    }
    const double shown =
        highest >= kSmallestScaledValue ? std::min(highest, kLargestScaledValue) : fallback;
    // One power of ten below the estimate, in case log10 rounds up.
    const int firstExponent = static_cast<int>(std::floor(std::log10(shown / kMaxSteps))) - 1;
    for (int exponent = firstExponent;; ++exponent) {
        for (const int mantissa : kStepMantissas) {
            const int steps = StepsToHold(shown, mantissa, exponent);
            if (steps <= kMaxSteps) {
                TValueScale scale{std::max(steps, kMinSteps), mantissa, exponent, 0};
                scale.top = scale.TickValue(scale.stepCount);
                return scale;
            }
        }
    }
}

std::string TickLabel(const TValueScale& scale, int index, std::string_view decimalSeparator) {
    const int units = scale.stepMantissa * index;
    if (units == 0) {
        return "0";
    }
    if (scale.stepExponent >= kSmallestFixedExponent &&
        scale.stepExponent <= kLargestFixedExponent) {
        return FixedText(units, scale.stepExponent, decimalSeparator);
    }
    return ScientificText(units, scale.stepExponent, decimalSeparator);
}

}  // namespace ornet5
