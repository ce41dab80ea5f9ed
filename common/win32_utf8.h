#pragma once

#include <string>
#include <string_view>

namespace ornet5 {

// The program keeps its texts in UTF-8 and talks to Windows through the
// wide (W) functions; these convert at that border (Windows builds only).
std::wstring Wide(std::string_view text);
std::string Utf8(std::wstring_view text);

}  // namespace ornet5
