#pragma once

#include <string_view>

namespace ornet5 {

// Name matching of the settings file and the stored-property list: byte
// strings, where only the ASCII letters have a case.

// text without blanks and tabs at both ends.
std::string_view TrimBlanks(std::string_view text);

// Whether a and b are the same apart from the case of ASCII letters.
bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace ornet5
