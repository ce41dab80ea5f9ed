#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace ornet5 {

// A double as the shortest decimal text that reads back to the same
// value, with the given decimal separator instead of '.': "0,3", "1,5e-07".
// Never locale-dependent.
std::string ShortestDecimalText(double value, std::string_view separator = ".");
// The same in a format to a precision, as std::to_chars writes them:
// (general, 6) gives "30" for 30.000000000000004, (fixed, 2) "4,25". Empty
// when the text would be longer than 64 characters.
std::string DecimalText(double value, std::string_view separator, std::chars_format format,
                        int precision);

// A decimal number as a user or a settings file writes it: blanks around
// it allowed, '.' or ',' as the decimal separator, an exponent allowed
// ("0,3", "0.3", "3e-1"). Nothing for anything else, an empty text
// included, and for a value that is not finite. With powerOfTen, the
// number times ten to that power, rounded once: "12,3" at -2 is the double
// nearest to 0.123, where dividing 12.3 by 100 would round twice and land
// a step above it.
std::optional<double> ParseDecimalText(std::string_view text, int powerOfTen = 0);

}  // namespace ornet5
