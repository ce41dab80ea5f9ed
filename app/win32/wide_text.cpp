#include "app/win32/wide_text.h"

namespace ornet5 {

std::wstring WindowTextWide(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string WindowTextUtf8(HWND window) {
    return Utf8(WindowTextWide(window));
}

void SetWindowTextUtf8(HWND window, std::string_view text) {
    ::SetWindowTextW(window, Wide(text).c_str());
}

}  // namespace ornet5
