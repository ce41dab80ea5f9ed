#include "common/decimal_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace ornet5 {

std::string ShortestDecimalText(double value, std::string_view separator) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    std::string text(buffer.data(), result.ptr);
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, separator);
    }
    return text;
}

std::optional<double> ParseDecimalText(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return std::nullopt;
    }
    std::string number(text.substr(begin, text.find_last_not_of(" \t") + 1 - begin));
    if (const std::size_t comma = number.find(','); comma != std::string::npos) {
        number[comma] = '.';
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
