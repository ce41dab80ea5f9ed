#include "tools/ornet5-sim/reading_encoder.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace ornet5 {

namespace {

constexpr int kMinExponent = -32;
constexpr int kMaxExponent = 31;
constexpr unsigned kExponentShift = 10;
constexpr unsigned kExponentMask = 0x3F;

}  // namespace

std::optional<std::uint16_t> EncodeReading(double microSievertPerHour) {
    if (!std::isfinite(microSievertPerHour) || microSievertPerHour < 0) {
        return std::nullopt;
    }
    if (microSievertPerHour == 0) {
        return 0;
    }
    // Decimal formatting rounds to 3 significant digits exactly as the value
    // is written, which binary arithmetic on the double would not.
    std::array<char, 32> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(),
                                            microSievertPerHour, std::chars_format::scientific, 2);
    if (error != std::errc()) {
        return std::nullopt;
    }
    // "d.dde<sign><digits>"
    const std::string_view written(text.data(), end);
    const int mantissa = (written[0] - '0') * 100 + (written[2] - '0') * 10 + (written[3] - '0');
    int exponent = 0;
    const char* exponentStart = written.data() + 5;
    if (*exponentStart == '+') {
        ++exponentStart;
    }
    std::from_chars(exponentStart, end, exponent);
    if (exponent < kMinExponent || exponent > kMaxExponent) {
        return std::nullopt;
    }
    const unsigned exponentField = static_cast<unsigned>(exponent) & kExponentMask;
    return static_cast<std::uint16_t>(static_cast<unsigned>(mantissa) |
                                      (exponentField << kExponentShift));
}

}  // namespace ornet5
