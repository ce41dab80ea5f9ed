#include "measure/reading_decoder.h"

#include <cmath>
#include <cstdlib>

namespace ornet5 {

namespace {

constexpr unsigned kMantissaBits = 10;
constexpr unsigned kMantissaMask = (1u << kMantissaBits) - 1;
constexpr int kExponentRange = 64;  // 6-bit two's complement field

// The mantissa's digits read as d.ddd. Each division is rounded to double,
// so 107 gives 10.7 / 10, one bit below the double nearest to 1.07; the
// shown readings depend on that last bit.
double MantissaValue(unsigned mantissa) {
    double value = mantissa;
    while (std::trunc(value) >= 10) {
        value /= 10;
    }
    return value;
}

int ExponentValue(unsigned field) {
    const int value = static_cast<int>(field);
    return value >= kExponentRange / 2 ? value - kExponentRange : value;
}

// 10^exponent for 0 <= exponent <= 32 by repeated squaring. Powers up to
// 10^27 are exact in extended precision and above that only the last
// multiplication rounds, so the result is the extended value nearest to the
// true power (repeated multiplication by 10 would be one bit off at 10^30).
long double PowerOfTen(int exponent) {
    long double result = 1;
    long double square = 10;
    for (int rest = exponent; rest != 0; rest >>= 1) {
        if (rest & 1) {
            result *= square;
        }
        if (rest > 1) {
            square *= square;
        }
    }
    return result;
}

}  // namespace

double DecodeReading(std::uint16_t word) {
    const double mantissa = MantissaValue(word & kMantissaMask);
    const int exponent = ExponentValue(word >> kMantissaBits);
    long double scale = PowerOfTen(std::abs(exponent));
    if (exponent < 0) {
        scale = 1 / scale;
    }
    // The product is formed in extended precision and rounded to double
    // once; a double product would differ in the last bit for thousands of
    // words (1.61e13 among them).
    return static_cast<double>(scale * mantissa);
}

}  // namespace ornet5
