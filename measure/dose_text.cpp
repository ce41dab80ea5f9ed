#include "measure/dose_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>

#include "common/int_text.h"

namespace ornet5 {

namespace {

// The digits a reading is first written with. The display rounds this
// text, not the exact binary value: 1.85e24, exactly 1.8499999999999999958e24,
// shows as 1,9E24.
constexpr int kSignificantDigits = 18;

// Kept digits: at most two significant ones, none past the second decimal.
constexpr int kMaxKeptDigits = 2;
constexpr int kDecimals = 2;

// value = 0.digits × 10^exponent; no digits (and exponent 0) for zero.
struct TDecimal {
    std::string digits;
    int exponent = 0;
};

// std::to_chars rounds exactly, to nearest with ties to even, and unlike
// the printf family it ignores the C locale, which the GUI toolkit sets
// from the user's environment. How a tie at the eighteenth digit goes never
// shows: it reaches the kept digits only through a run of nines, and a tie
// after a nine rounds up either way. Empty for infinities and NaN.
std::optional<TDecimal> EighteenDigits(double magnitude) {
    if (magnitude == 0) {
        return TDecimal{};
    }
    char text[40];
    const auto result = std::to_chars(std::begin(text), std::end(text), magnitude,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    // d.ddddddddddddddddde±XX
    const std::string_view written(text, static_cast<std::size_t>(result.ptr - text));
    const auto exponentMark = written.find('e');
    if (result.ec != std::errc() || written.size() < 2 || written[1] != '.' ||
        exponentMark == std::string_view::npos) {
        return std::nullopt;
    }
    TDecimal decimal;
    decimal.digits.assign(written.substr(0, 1));
    decimal.digits.append(written.substr(2, exponentMark - 2));
    decimal.exponent = StrToInt(written.substr(exponentMark + 1)) + 1;
    return decimal;
}

// Adds one unit in the last kept place; a carry out of the first digit
// leaves the single digit 1 one place higher.
void RoundUp(TDecimal& value) {
    for (auto digit = value.digits.rbegin(); digit != value.digits.rend(); ++digit) {
        if (*digit != '9') {
            ++*digit;
            return;
        }
        *digit = '0';
    }
    value.digits = "1";
    ++value.exponent;
}

void DropTrailingZeros(std::string& digits) {
    const auto last = digits.find_last_not_of('0');
    digits.erase(last == std::string::npos ? 0 : last + 1);
}

// Rounds half up to the digits the display keeps.
void RoundForDisplay(TDecimal& value) {
    if (value.digits.empty()) {
        return;
    }
    const int keep = std::min(value.exponent + kDecimals, kMaxKeptDigits);
    if (keep < 0) {
        value = TDecimal{};
        return;
    }
    const bool up = value.digits[static_cast<std::size_t>(keep)] >= '5';
    value.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        RoundUp(value);
    }
    DropTrailingZeros(value.digits);
}

// At least two digits and no plus sign: 2 gives "02", -5 gives "-05".
std::string ExponentText(int exponent) {
    std::string digits = std::to_string(std::abs(exponent));
    if (digits.size() < 2) {
        digits.insert(0, "0");
    }
    return exponent < 0 ? "-" + digits : digits;
}

std::string ScientificText(const TDecimal& value, std::string_view decimalSeparator) {
    std::string text(1, value.digits.front());
    if (value.digits.size() > 1) {
        text += decimalSeparator;
        text += value.digits[1];
    }
    return text + "E" + ExponentText(value.exponent - 1);
}

// The digit at position index (0 = first significant digit), 0 past the end.
char DigitAt(const TDecimal& value, int index) {
    return index >= 0 && index < static_cast<int>(value.digits.size())
               ? value.digits[static_cast<std::size_t>(index)]
               : '0';
}

std::string FixedText(const TDecimal& value, std::string_view decimalSeparator) {
    std::string text;
    for (int index = 0; index < value.exponent; ++index) {
        text += DigitAt(value, index);
    }
    if (text.empty()) {
        text = "0";
    }
    text += decimalSeparator;
    // The first decimal is the digit at position exponent, counting from the
    // first significant digit; positions before it are leading zeros.
    for (int place = 0; place < kDecimals; ++place) {
        text += DigitAt(value, value.exponent + place);
    }
    return text;
}

}  // namespace

std::string DoseText(double reading, std::string_view decimalSeparator) {
    auto decimal = EighteenDigits(std::fabs(reading));
    if (!decimal) {
        return std::to_string(reading);
    }
    RoundForDisplay(*decimal);
    // 100 and more has more integer digits than the display keeps digits.
    const std::string text = decimal->exponent > kMaxKeptDigits
                                 ? ScientificText(*decimal, decimalSeparator)
                                 : FixedText(*decimal, decimalSeparator);
    return reading < 0 ? "-" + text : text;
}

}  // namespace ornet5
