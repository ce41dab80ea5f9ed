#include "common/decimal_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace ornet5 {

namespace {

std::string WithSeparator(std::string text, std::string_view separator) {
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, separator);
    }
    return text;
}

// The decimal point is moved in the text's exponent, so that the only
// rounding is from_chars' own. False when the exponent is not a number.
bool ScaleExponent(std::string& number, int powerOfTen) {
    const std::size_t mark = number.find_first_of("eE");
    long long exponent = 0;
    if (mark != std::string::npos) {
        const bool plus = number[mark + 1] == '+';
        const char* first = number.data() + mark + 1 + (plus ? 1 : 0);
        const char* last = number.data() + number.size();
        const auto result = std::from_chars(first, last, exponent);
        // Beyond this the number is no finite dose anyway, and the sum
        // below cannot overflow. A sign after a '+' is no exponent.
        constexpr long long kExponentLimit = 100'000;
        if ((plus && *first == '-') || result.ec != std::errc() || result.ptr != last ||
            exponent > kExponentLimit || exponent < -kExponentLimit) {
            return false;
        }
        number.resize(mark);
    }
    number += "e" + std::to_string(exponent + powerOfTen);
    return true;
}

}  // namespace

std::string ShortestDecimalText(double value, std::string_view separator) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return WithSeparator(std::string(buffer.data(), result.ptr), separator);
}

std::string DecimalText(double value, std::string_view separator, std::chars_format format,
                        int precision) {
    std::array<char, 64> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    if (result.ec != std::errc()) {
        return {};
    }
    return WithSeparator(std::string(buffer.data(), result.ptr), separator);
}

std::optional<double> ParseDecimalText(std::string_view text, int powerOfTen) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return std::nullopt;
    }
    std::string number(text.substr(begin, text.find_last_not_of(" \t") + 1 - begin));
    if (const std::size_t comma = number.find(','); comma != std::string::npos) {
        number[comma] = '.';
    }
    if (powerOfTen != 0 && !ScaleExponent(number, powerOfTen)) {
        return std::nullopt;
    }
    // from_chars takes no leading '+', which a user may well type.
    const std::size_t skip = number.starts_with('+') ? 1 : 0;
    double value = 0;
    const char* first = number.data() + skip;
    const char* last = number.data() + number.size();
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last || first == last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace ornet5
