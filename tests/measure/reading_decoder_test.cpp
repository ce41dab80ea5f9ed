#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "measure/reading_decoder.h"

namespace ornet5 {
namespace {

std::uint16_t Word(unsigned mantissa, unsigned exponentField) {
    return static_cast<std::uint16_t>(mantissa | exponentField << 10);
}

int SignedExponent(unsigned field) {
    return field >= 32 ? static_cast<int>(field) - 64 : static_cast<int>(field);
}

// The decimal number the word stands for, read by the C library: mantissa
// 123 with exponent -2 is "123e-4", i.e. 1.23 × 10^-2.
double DecimalReading(unsigned mantissa, int exponent) {
    const int digits = static_cast<int>(std::to_string(mantissa).size());
    char text[32];
    std::snprintf(text, sizeof text, "%ue%d", mantissa, exponent - (digits - 1));
    return std::strtod(text, nullptr);
}

double Ulp(double value) {
    return std::nextafter(value, std::numeric_limits<double>::infinity()) - value;
}

// The readings are decimal numbers; the stepwise scaling of the mantissa
// may leave them a bit or two off the nearest double (1.023 is one above).
TEST(DecodeReading, WorkedExamplesOfFrameBytes) {
    struct TRow {
        int byte15;
        int byte16;
        double reading;
    };
    const TRow rows[] = {
        {0x00, 0x00, 0},      {0x05, 0x00, 5},     {0x7B, 0x00, 1.23},  {0x7B, 0xFC, 0.123},
        {0x7B, 0xF8, 0.0123}, {0x7B, 0x04, 12.3},  {0x2C, 0xF5, 0.003}, {0x0A, 0x00, 1},
        {0xE8, 0x03, 1},      {0xFF, 0x03, 1.023}, {0x01, 0x80, 1e-32}, {0xFF, 0x7F, 1.023e31},
    };
    for (const TRow& row : rows) {
        const auto word = static_cast<std::uint16_t>(row.byte15 + 256 * row.byte16);
        EXPECT_LE(std::abs(DecodeReading(word) - row.reading), 2 * Ulp(row.reading))
            << std::hex << word;
    }
}

TEST(DecodeReading, ZeroMantissaIsZeroForEveryExponent) {
    for (unsigned field = 0; field < 64; ++field) {
        const double reading = DecodeReading(Word(0, field));
        EXPECT_EQ(reading, 0.0) << field;
        EXPECT_FALSE(std::signbit(reading)) << field;
    }
}

TEST(DecodeReading, TrailingMantissaZerosDoNotScale) {
    for (unsigned field = 0; field < 64; ++field) {
        const double one = DecodeReading(Word(1, field));
        EXPECT_EQ(DecodeReading(Word(10, field)), one) << field;
        EXPECT_EQ(DecodeReading(Word(100, field)), one) << field;
        EXPECT_EQ(DecodeReading(Word(1000, field)), one) << field;
        EXPECT_EQ(DecodeReading(Word(102, field)), DecodeReading(Word(1020, field))) << field;
        EXPECT_EQ(DecodeReading(Word(5, field)), DecodeReading(Word(500, field))) << field;
    }
}

TEST(DecodeReading, ExponentFieldIsSixBitTwosComplement) {
    EXPECT_EQ(DecodeReading(Word(1, 32)), 1e-32);
    EXPECT_EQ(DecodeReading(Word(1, 31)), 1e31);
    EXPECT_EQ(DecodeReading(Word(1, 63)), 0.1);
    EXPECT_EQ(DecodeReading(Word(1, 1)), 10.0);
    double previous = 0;
    for (int exponent = -32; exponent <= 31; ++exponent) {
        const auto field = static_cast<unsigned>(exponent & 63);
        const double reading = DecodeReading(Word(1, field));
        EXPECT_NEAR(std::log10(reading), exponent, 1e-12) << field;
        EXPECT_GT(reading, previous) << field;
        previous = reading;
    }
}

// Each quotient is rounded to double on the way to d.ddd, so the word for
// 1.07 decodes one bit below the double nearest to 1.07.
TEST(DecodeReading, MantissaIsScaledDownOneRoundedDivisionAtATime) {
    EXPECT_EQ(DecodeReading(Word(107, 0)), (107.0 / 10) / 10);
    EXPECT_NE(DecodeReading(Word(107, 0)), 1.07);
    EXPECT_EQ(DecodeReading(Word(1023, 0)), ((1023.0 / 10) / 10) / 10);
    EXPECT_NE(DecodeReading(Word(1023, 0)), 1.023);
}

// 1.61 × 10^13 is an integer; a product rounded straight to double would
// miss it by one bit, the extended product rounded once does not. The
// decoder gives that on every compiler, with or without extended precision.
TEST(DecodeReading, ProductIsRoundedOnceFromExtendedPrecision) {
    EXPECT_EQ(DecodeReading(Word(161, 13)), 16100000000000.0);
    EXPECT_EQ(DecodeReading(Word(322, 13)), 32200000000000.0);
    EXPECT_NE((161.0 / 10 / 10) * 1e13, 16100000000000.0);
}

// The reading as the x87 computes it: the power of ten by repeated squaring
// (exact up to 10^27, one rounding above), its reciprocal for a negative
// exponent, the product, each rounded to 64 bits, then the product to double.
double HardwareExtendedReading(std::uint16_t word) {
    double mantissa = word & 1023;
    while (std::trunc(mantissa) >= 10) {
        mantissa /= 10;
    }
    const int exponent = SignedExponent(word >> 10);
    long double scale = 1;
    long double square = 10;
    for (int rest = std::abs(exponent); rest != 0; rest >>= 1) {
        if (rest & 1) {
            scale *= square;
        }
        square *= square;
    }
    if (exponent < 0) {
        scale = 1 / scale;
    }
    return static_cast<double>(scale * mantissa);
}

TEST(DecodeReading, EveryWordGivesTheBitsOfTheExtendedPrecisionComputation) {
    if (std::numeric_limits<long double>::digits != 64) {
        GTEST_SKIP() << "no 64-bit long double to compare with";
    }
    for (unsigned word = 0; word <= 0xFFFF; ++word) {
        const auto w = static_cast<std::uint16_t>(word);
        ASSERT_EQ(DecodeReading(w), HardwareExtendedReading(w)) << word;
    }
}

TEST(DecodeReading, EveryWordIsFiniteNonNegativeNearItsDecimalValueAndRecordedAsIt) {
    for (unsigned word = 0; word <= 0xFFFF; ++word) {
        const double reading = DecodeReading(static_cast<std::uint16_t>(word));
        ASSERT_TRUE(std::isfinite(reading)) << word;
        ASSERT_FALSE(std::signbit(reading)) << word;
        const unsigned mantissa = word & 1023;
        const double recorded = ReadingDecimalValue(static_cast<std::uint16_t>(word));
        if (mantissa == 0) {
            ASSERT_EQ(reading, 0.0) << word;
            ASSERT_EQ(recorded, 0.0) << word;
            continue;
        }
        const double decimal = DecimalReading(mantissa, SignedExponent(word >> 10));
        // Up to two roundings of the mantissa and one of the product.
        ASSERT_LE(std::abs(reading - decimal), 2 * Ulp(decimal)) << word;
        // What the journal records is the decimal figure itself.
        ASSERT_EQ(recorded, decimal) << word;
    }
}

}  // namespace
}  // namespace ornet5
