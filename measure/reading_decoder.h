#pragma once

#include <cstdint>

namespace ornet5 {

// The detector's packed-decimal reading: bits 0 to 9 a mantissa whose
// decimal digits read as d.ddd, bits 10 to 15 a signed power of ten.
// Returns the dose rate in µSv/h; finite and never negative.
double DecodeReading(std::uint16_t word);

}  // namespace ornet5
