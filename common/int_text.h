#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ornet5 {

// The one integer text conversion of the system, used for device address
// parts, the speed text and the settings file's numbers.
//
// Accepted: leading blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$", "x" or "0x" (x in either case). Nothing may
// follow the digits. The value must fit a signed 32-bit integer.

// Empty when the text does not convert.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

// Throws EConvertError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

}  // namespace ornet5
