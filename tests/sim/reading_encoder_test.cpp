#include "tools/ornet5-sim/reading_encoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "measure/reading_decoder.h"

namespace ornet5 {
namespace {

TEST(ReadingEncoder, KnownWords) {
    EXPECT_EQ(EncodeReading(0.123), 0xFC7B);
    EXPECT_EQ(EncodeReading(1.23), 0x007B);
    EXPECT_EQ(EncodeReading(12.3), 0x047B);
    EXPECT_EQ(EncodeReading(0.0123), 0xF87B);
    EXPECT_EQ(EncodeReading(0.0), 0x0000);
    EXPECT_EQ(EncodeReading(1e-32), 0x8064) << "smallest power of ten";
}

TEST(ReadingEncoder, AlwaysThreeSignificantDigits) {
    for (const double value : {0.1, 0.15, 0.2, 5.0, 1000.0, 9.99e31}) {
        const std::optional<std::uint16_t> word = EncodeReading(value);
        ASSERT_TRUE(word) << value;
        const int mantissa = *word & 0x3FF;
        EXPECT_GE(mantissa, 100) << value;
        EXPECT_LE(mantissa, 999) << value;
    }
}

TEST(ReadingEncoder, RoundsToNearestAndCarriesIntoTheExponent) {
    EXPECT_EQ(EncodeReading(0.1234), EncodeReading(0.123));
    EXPECT_EQ(EncodeReading(0.1236), EncodeReading(0.124));
    EXPECT_EQ(EncodeReading(9.996), EncodeReading(10.0));
    EXPECT_DOUBLE_EQ(DecodeReading(*EncodeReading(9.996)), 10.0);
}

// Through the monitor's own decoder: what it shows is what was meant.
TEST(ReadingEncoder, RoundTripsWithinRoundingOfThreeDigits) {
    for (double value = 1.1e-31; value < 9e30; value *= 1.37) {
        const std::optional<std::uint16_t> word = EncodeReading(value);
        ASSERT_TRUE(word) << value;
        EXPECT_NEAR(DecodeReading(*word) / value, 1.0, 0.0051) << value;
    }
}

TEST(ReadingEncoder, RejectsWhatNoWordCanCarry) {
    EXPECT_FALSE(EncodeReading(-0.1));
    EXPECT_FALSE(EncodeReading(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(EncodeReading(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(EncodeReading(1e32));
    EXPECT_FALSE(EncodeReading(9.996e31)) << "rounds up to 1e32";
    EXPECT_FALSE(EncodeReading(1e-33));
    EXPECT_FALSE(EncodeReading(std::numeric_limits<double>::denorm_min()));
}

}  // namespace
}  // namespace ornet5
