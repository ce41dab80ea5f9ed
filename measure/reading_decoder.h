#pragma once

#include <cstdint>

namespace ornet5 {

// The detector's packed-decimal reading: bits 0 to 9 a mantissa whose
// decimal digits read as d.ddd, bits 10 to 15 a signed power of ten.
// Returns the dose rate in µSv/h; finite and never negative.
double DecodeReading(std::uint16_t word);

// The same reading as the double nearest to its decimal value (123 at
// power -1 is 0.123): what the journal records and the alarm compares, so
// that a recorded 0.123 is the detector's own figure. DecodeReading's
// extended-precision product, which the display rule is built on, may lie
// a step away from it.
double ReadingDecimalValue(std::uint16_t word);

}  // namespace ornet5
