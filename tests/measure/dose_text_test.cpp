#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "measure/dose_text.h"
#include "measure/reading_decoder.h"

namespace ornet5 {
namespace {

std::string WithSeparator(std::string text, char separator) {
    std::replace(text.begin(), text.end(), ',', separator);
    return text;
}

double Below(double value) {
    return std::nextafter(value, 0.0);
}

TEST(DoseText, ShownRowsWithCommaAndFullStop) {
    const std::pair<double, const char*> rows[] = {
        {0, "0,00"},     {0.004, "0,00"}, {0.006, "0,01"}, {0.0123, "0,01"}, {0.123, "0,12"},
        {0.5, "0,50"},   {1.23, "1,20"},  {1.25, "1,30"},  {9.96, "10,00"},  {12.3, "12,00"},
        {99.4, "99,00"}, {99.6, "1E02"},  {123, "1,2E02"}, {1000, "1E03"},
    };
    for (const auto& [reading, text] : rows) {
        EXPECT_EQ(DoseText(reading, ","), text) << reading;
        EXPECT_EQ(DoseText(reading, "."), WithSeparator(text, '.')) << reading;
    }
    EXPECT_EQ(DoseText(1.23, "<>"), "1<>20");
}

using TDoseRows = std::initializer_list<std::pair<double, const char*>>;

// Each reading's text with a comma for the decimal separator.
void ExpectCommaTexts(TDoseRows rows) {
    for (const auto& [reading, text] : rows) {
        EXPECT_EQ(DoseText(reading, ","), text) << reading;
    }
}

TEST(DoseText, NothingBelowTheThirdDecimalPlaceSurvives) {
    const double least = std::numeric_limits<double>::denorm_min();
    const TDoseRows rows = {
        {0.0009, "0,00"}, {0.000999, "0,00"}, {Below(0.001), "0,00"},
        {1e-32, "0,00"},  {least, "0,00"},    {0.001, "0,00"},
        {0.0051, "0,01"}, {0.0149, "0,01"},   {0.0951, "0,10"},
    };
    ExpectCommaTexts(rows);
}

TEST(DoseText, CarryOutOfTheFirstDigitRaisesThePlace) {
    const TDoseRows rows = {
        {0.0096, "0,01"}, {0.0996, "0,10"},  {0.996, "1,00"}, {9.96, "10,00"}, {99.6, "1E02"},
        {996, "1E03"},    {9.96e30, "1E31"}, {1.96, "2,00"},  {0.096, "0,10"},
    };
    ExpectCommaTexts(rows);
}

TEST(DoseText, ScientificFormHasAtLeastTwoExponentDigits) {
    const TDoseRows rows = {
        {100, "1E02"},      {123, "1,2E02"},    {1000, "1E03"},   {1.023e31, "1E31"},
        {1.023e33, "1E33"}, {4.56e9, "4,6E09"}, {1e100, "1E100"}, {1.05e2, "1,1E02"},
    };
    ExpectCommaTexts(rows);
    EXPECT_EQ(DoseText(150, "."), "1.5E02");
}

// Exact binary halves round up.
TEST(DoseText, HalvesRoundUp) {
    const TDoseRows rows = {
        {0.125, "0,13"},        {0.375, "0,38"},  {1.25, "1,30"},
        {2.5, "2,50"},          {12.5, "13,00"},  {0.005, "0,01"},
        {Below(0.005), "0,00"}, {1250, "1,3E03"}, {Below(1250), "1,2E03"},
    };
    ExpectCommaTexts(rows);
}

// The rule rounds the 18-digit text of a reading, not its exact value. The
// double 1.85e24 lies 4.2e6 below 1.85 × 10^24, which the 18-digit text
// cannot tell apart; 0.015 lies 5.6e-19 below 0.015, which it can.
TEST(DoseText, RoundsTheEighteenDigitTextNotTheExactValue) {
    ASSERT_LT(static_cast<long double>(1.85e24), 1.85e24L);
    EXPECT_EQ(DoseText(1.85e24, ","), "1,9E24");
    EXPECT_EQ(DoseText(Below(1.85e24), ","), "1,8E24");
    ASSERT_LT(static_cast<long double>(1.95e31), 1.95e31L);
    EXPECT_EQ(DoseText(1.95e31, ","), "2E31");

    // Detector readings that land on such values: 1.85e24 and 1.95e31.
    EXPECT_EQ(DoseText(DecodeReading(0x60B9), ","), "1,9E24");
    EXPECT_EQ(DoseText(DecodeReading(0x7CC3), ","), "2E31");

    // Seventeen digits would round these up as well; eighteen do not.
    ASSERT_LT(static_cast<long double>(0.015), 0.015L);
    EXPECT_EQ(DoseText(0.015, ","), "0,01");
    EXPECT_EQ(DoseText(0.105, ","), "0,10");
    EXPECT_EQ(DoseText(1.45, ","), "1,40");
    EXPECT_EQ(DoseText(DecodeReading(145), ","), "1,40");
    EXPECT_EQ(DoseText(DecodeReading(125), ","), "1,30");
    // 0.0049999999999999999 is the same double as 0.005, which lies above.
    EXPECT_EQ(DoseText(0.0049999999999999999, ","), "0,01");
}

TEST(DoseText, NegativeAndNonFiniteReadingsStayRecognisable) {
    EXPECT_EQ(DoseText(-0.0, ","), "0,00");
    EXPECT_EQ(DoseText(-1.23, ","), "-1,20");
    EXPECT_EQ(DoseText(-123, ","), "-1,2E02");
    EXPECT_EQ(DoseText(std::numeric_limits<double>::infinity(), ","), "inf");
    EXPECT_NE(DoseText(std::numeric_limits<double>::quiet_NaN(), ",").find("nan"),
              std::string::npos);
    EXPECT_EQ(DoseText(std::numeric_limits<double>::max(), ","), "1,8E308");
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

double DecimalValue(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

// "I,FF" below 100 with at most two significant digits.
std::optional<double> FixedValue(std::string_view text) {
    const auto separator = text.find(',');
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    const auto whole = text.substr(0, separator);
    const auto decimals = text.substr(separator + 1);
    if (!AllDigits(whole) || whole.size() > 2 || (whole.size() == 2 && whole[0] == '0') ||
        !AllDigits(decimals) || decimals.size() != 2) {
        return std::nullopt;
    }
    std::string digits = std::string(whole) + std::string(decimals);
    digits.erase(0, digits.find_first_not_of('0'));
    if (!digits.empty()) {
        digits.erase(digits.find_last_not_of('0') + 1);
    }
    if (digits.size() > 2) {
        return std::nullopt;
    }
    return DecimalValue(std::string(whole) + "." + std::string(decimals));
}

// "d[,d]EXX" from 100 up: no zero second digit, at least two exponent
// digits and no leading zero beyond those two.
std::optional<double> ScientificValue(std::string_view text) {
    const auto mark = text.find('E');
    if (mark == std::string_view::npos) {
        return std::nullopt;
    }
    const auto digits = text.substr(0, mark);
    const auto exponent = text.substr(mark + 1);
    const auto isLeadingDigit = [](char c) { return c >= '1' && c <= '9'; };
    const bool oneDigit = digits.size() == 1 && isLeadingDigit(digits[0]);
    const bool twoDigits = digits.size() == 3 && isLeadingDigit(digits[0]) && digits[1] == ',' &&
                           isLeadingDigit(digits[2]);
    if ((!oneDigit && !twoDigits) || !AllDigits(exponent) || exponent.size() < 2 ||
        (exponent.size() == 2 ? exponent < "02" : exponent[0] == '0')) {
        return std::nullopt;
    }
    const std::string number = std::string(1, digits[0]) + "." + (twoDigits ? digits[2] : '0') +
                               "e" + std::string(exponent);
    return DecimalValue(number);
}

// The value a dose text stands for, when it has one of the two shapes the
// display allows.
std::optional<double> ShownValue(std::string_view text) {
    if (auto value = FixedValue(text)) {
        return value;
    }
    return ScientificValue(text);
}

// Spacing of the digits a shown value keeps.
double ShownUnit(double shown) {
    if (shown < 1) {
        return 0.01;
    }
    return std::pow(10.0, std::floor(std::log10(shown)) - 1);
}

TEST(DoseText, ShownValueCheckerRejectsMalformedTexts) {
    for (const char* text :
         {"", "0,0", "00,00", "05,00", "1,25", "12,30", "100,00", "1,0E02", "1E2", "1,2E01",
          "1E002", "1E+02", "1.2E02", "12E02", "-1,00", "0,00 ", "1,-5", "E02"}) {
        EXPECT_FALSE(ShownValue(text)) << text;
    }
    EXPECT_EQ(ShownValue("0,00"), 0.0);
    EXPECT_EQ(ShownValue("0,05"), 0.05);
    EXPECT_EQ(ShownValue("99,00"), 99.0);
    EXPECT_EQ(ShownValue("1E02"), 100.0);
    EXPECT_EQ(ShownValue("1,2E03"), 1200.0);
    EXPECT_EQ(ShownValue("1E100"), 1e100);
}

TEST(DoseText, EveryReadingInBothUnitsIsWellFormedAndRoundedToItsPlace) {
    std::vector<std::pair<double, double>> shownByReading;
    for (unsigned word = 0; word <= 0xFFFF; ++word) {
        const double sieverts = DecodeReading(static_cast<std::uint16_t>(word));
        for (const double reading : {sieverts, sieverts * 100}) {
            const std::string text = DoseText(reading, ",");
            const auto shown = ShownValue(text);
            ASSERT_TRUE(shown) << word << " " << reading << " '" << text << "'";
            // Half a unit of the kept place, and a little for the 18-digit step.
            ASSERT_LE(std::abs(*shown - reading), ShownUnit(*shown) * (0.5 + 1e-12))
                << word << " " << reading << " " << text;
            ASSERT_EQ(DoseText(reading, "."), WithSeparator(text, '.')) << word;
            shownByReading.emplace_back(reading, *shown);
        }
    }
    // Rounding never puts a larger reading below a smaller one.
    std::sort(shownByReading.begin(), shownByReading.end());
    for (std::size_t i = 1; i < shownByReading.size(); ++i) {
        ASSERT_LE(shownByReading[i - 1].second, shownByReading[i].second)
            << shownByReading[i - 1].first << " " << shownByReading[i].first;
    }
}

}  // namespace
}  // namespace ornet5
