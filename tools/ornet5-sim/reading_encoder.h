#pragma once

#include <cstdint>
#include <optional>

namespace ornet5 {

// A dose rate in µSv/h as the detector's packed-decimal word: bits 0 to 9 a
// mantissa whose digits read as d.dd, bits 10 to 15 a signed power of ten.
// The value is rounded to 3 significant digits (0.123 gives mantissa 123,
// exponent -1: word FC7B). 0 gives the word 0. Empty for a negative or
// non-finite value and for one whose power of ten falls outside -32..31.
std::optional<std::uint16_t> EncodeReading(double microSievertPerHour);

}  // namespace ornet5
