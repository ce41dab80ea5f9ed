#pragma once

#include <string>
#include <string_view>

namespace ornet5 {

// The program keeps its texts in UTF-8 and talks to Windows through the
// wide (W) functions; these convert at that border (Windows builds only).
std::wstring Wide(std::string_view text);
std::string Utf8(std::wstring_view text);

// The system's own text for a Windows error code, in UTF-8, without the
// line end the system appends.
std::string Win32ErrorText(unsigned long errorCode);

}  // namespace ornet5
