#pragma once

#include <string>
#include <string_view>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ornet5 {

// The program keeps its texts in UTF-8 and talks to Windows through the
// wide (W) functions; these convert at that border.
std::wstring Wide(std::string_view text);
std::string Utf8(std::wstring_view text);

// A window's text (caption, control text) in UTF-8.
std::string WindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);

}  // namespace ornet5
