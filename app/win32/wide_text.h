#pragma once

#include <string>
#include <string_view>

#include "common/win32_utf8.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ornet5 {

// A window's text (caption, control text) as Windows holds it, and in UTF-8.
std::wstring WindowTextWide(HWND window);
std::string WindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);

}  // namespace ornet5
