#include "measure/reading_decoder.h"

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <compare>
#include <cstdlib>
#include <limits>
#include <string>

namespace ornet5 {

namespace {

constexpr unsigned kMantissaBits = 10;
constexpr unsigned kMantissaMask = (1u << kMantissaBits) - 1;
constexpr int kExponentRange = 64;  // 6-bit two's complement field

// The reading is defined by x87 extended precision (a 64-bit mantissa):
// the power of ten, its reciprocal and the product are each rounded to 64
// bits, and the product once more to double. Compilers without such a long
// double (MSVC) would give other bits, so the roundings are done here on
// integers, the same on every compiler.
constexpr int kExtendedBits = 64;
constexpr int kDoubleBits = 53;

// The mantissa's divisions must round to double at each step, as IEEE
// doubles evaluated without excess precision do.
static_assert(std::numeric_limits<double>::is_iec559 &&
              std::numeric_limits<double>::digits == kDoubleBits);
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must not carry excess precision");

// Standard C++ has no 128-bit integer; two halves serve the few operations
// needed.
struct TUint128 {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    constexpr auto operator<=>(const TUint128&) const = default;
};

constexpr TUint128 ShiftLeft(TUint128 value, int bits) {
    if (bits == 0) {
        return value;
    }
    if (bits >= 64) {
        return {value.low << (bits - 64), 0};
    }
    return {value.high << bits | value.low >> (64 - bits), value.low << bits};
}

constexpr TUint128 ShiftRight(TUint128 value, int bits) {
    if (bits == 0) {
        return value;
    }
    if (bits >= 64) {
        return {0, value.high >> (bits - 64)};
    }
    return {value.high >> bits, value.low >> bits | value.high << (64 - bits)};
}

constexpr TUint128 Subtract(TUint128 a, TUint128 b) {
    return {a.high - b.high - (a.low < b.low ? 1 : 0), a.low - b.low};
}

constexpr TUint128 Multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t mask = 0xFFFFFFFF;
    const std::uint64_t lowLow = (a & mask) * (b & mask);
    const std::uint64_t highLow = (a >> 32) * (b & mask);
    const std::uint64_t lowHigh = (a & mask) * (b >> 32);
    const std::uint64_t middle = (lowLow >> 32) + (highLow & mask) + (lowHigh & mask);
    return {(a >> 32) * (b >> 32) + (highLow >> 32) + (lowHigh >> 32) + (middle >> 32),
            (middle << 32) | (lowLow & mask)};
}

constexpr int BitLength(TUint128 value) {
    return value.high != 0 ? 64 + static_cast<int>(std::bit_width(value.high))
                           : static_cast<int>(std::bit_width(value.low));
}

// mantissa × 2^exponent; the mantissa has its top bit set unless it is 0.
struct TBinary {
    std::uint64_t mantissa = 0;
    int exponent = 0;
};

// value × 2^exponent rounded to bits significant bits, half to even.
constexpr TBinary Round(TUint128 value, int exponent, int bits) {
    const int length = BitLength(value);
    if (length <= bits) {
        const int shift = 64 - length;
        return {ShiftLeft(value, shift).low, exponent - shift};
    }
    const int dropped = length - bits;
    const TUint128 kept = ShiftRight(value, dropped);
    const TUint128 rest = Subtract(value, ShiftLeft(kept, dropped));
    const TUint128 half = ShiftLeft({0, 1}, dropped - 1);
    std::uint64_t mantissa = kept.low;
    int scale = exponent + dropped;
    if (rest > half || (rest == half && (mantissa & 1) != 0)) {
        ++mantissa;
        // 1.11…1 rounded up to 10.00…0; 64 bits wrap to 0.
        if (bits == 64 ? mantissa == 0 : mantissa >> bits != 0) {
            mantissa = std::uint64_t{1} << (bits - 1);
            ++scale;
        }
    }
    const int shift = 64 - bits;
    return {mantissa << shift, scale - shift};
}

// 10^n for 0 <= n <= 32 in extended precision: exact up to 10^27, the
// nearest extended value above (as the repeated squaring gives it: only its
// last product rounds).
constexpr TBinary ExtendedPowerOfTen(int n) {
    std::uint64_t fivePower = 1;  // 5^min(n, 27) fits 64 bits
    std::uint64_t rest = 1;
    for (int i = 0; i < n; ++i) {
        (i < 27 ? fivePower : rest) *= 5;
    }
    return Round(Multiply(fivePower, rest), n, kExtendedBits);
}

// 1 / value in extended precision; value is not a power of two, so the
// quotient 2^127 / mantissa lies strictly between 2^63 and 2^64.
constexpr TBinary ExtendedReciprocal(TBinary value) {
    std::uint64_t quotient = 0;
    std::uint64_t remainder = 0;
    for (int bit = 127; bit >= 0; --bit) {
        // The remainder may pass 2^64 for a moment; the carry keeps it.
        const bool carry = remainder >> 63 != 0;
        remainder = remainder << 1 | (bit == 127 ? 1 : 0);
        quotient <<= 1;
        if (carry || remainder >= value.mantissa) {
            remainder -= value.mantissa;
            quotient |= 1;
        }
    }
    // The quotient has its 64 bits already; the remainder rounds it.
    const std::uint64_t rest = value.mantissa - remainder;
    int exponent = -127 - value.exponent;
    if (remainder > rest || (remainder == rest && (quotient & 1) != 0)) {
        if (++quotient == 0) {
            quotient = std::uint64_t{1} << 63;
            ++exponent;
        }
    }
    return {quotient, exponent};
}

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

TBinary ExtendedScale(int exponent) {
    const TBinary power = ExtendedPowerOfTen(std::abs(exponent));
    return exponent < 0 ? ExtendedReciprocal(power) : power;
}

}  // namespace

double ReadingDecimalValue(std::uint16_t word) {
    const unsigned mantissa = word & kMantissaMask;
    if (mantissa == 0) {
        return 0;
    }
    // The mantissa's digits read d.ddd: its last digit stands for
    // 10^(exponent - digits + 1).
    const std::string digits = std::to_string(mantissa);
    const int power = ExponentValue(word >> kMantissaBits) - static_cast<int>(digits.size()) + 1;
    const std::string text = digits + "e" + std::to_string(power);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

double DecodeReading(std::uint16_t word) {
    const double mantissa = MantissaValue(word & kMantissaMask);
    if (mantissa == 0) {
        return 0;
    }
    int binaryExponent = 0;
    const double fraction = std::frexp(mantissa, &binaryExponent);
    const auto digits = static_cast<std::uint64_t>(std::ldexp(fraction, kDoubleBits));
    const TBinary scale = ExtendedScale(ExponentValue(word >> kMantissaBits));
    // The product rounded to extended and then to double: a product rounded
    // straight to double would differ in the last bit for a few words
    // (1.61e13 among them).
    const TBinary product = Round(Multiply(scale.mantissa, digits),
                                  scale.exponent + binaryExponent - kDoubleBits, kExtendedBits);
    const TBinary reading = Round({0, product.mantissa}, product.exponent, kDoubleBits);
    return std::ldexp(static_cast<double>(reading.mantissa >> (64 - kDoubleBits)),
                      reading.exponent + 64 - kDoubleBits);
}

}  // namespace ornet5
