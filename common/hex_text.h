#pragma once

#include <string>
#include <string_view>

namespace ornet5 {

// Bytes as upper-case hexadecimal pairs separated by blanks: "FF 01 0D".
std::string HexText(std::string_view bytes);

}  // namespace ornet5
