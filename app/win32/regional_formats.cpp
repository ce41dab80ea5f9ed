#include "app/win32/regional_formats.h"

#include <windows.h>

namespace ornet5 {

namespace {

// The longest text either call can give, with its terminating zero
// (LOCALE_SDECIMAL allows 4 characters, a time format 80).
constexpr int kTextCapacity = 128;

// The program's texts are UTF-8; Windows gives UTF-16. length counts the
// terminating zero, as the locale functions report it.
std::string Utf8(const wchar_t* text, int length) {
    if (length <= 1) {
        return {};
    }
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text, length - 1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length - 1, result.data(), size, nullptr, nullptr);
    return result;
}

}  // namespace

// A failing call leaves the text empty; the dose text then has no
// separator, which is visible but does no harm.
std::string TWin32RegionalFormats::DecimalSeparator() const {
    wchar_t text[kTextCapacity];
    return Utf8(text,
                GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text, kTextCapacity));
}

// No time and no format given: the current local time in the user's long
// time format.
std::string TWin32RegionalFormats::LongTimeNow() const {
    wchar_t text[kTextCapacity];
    return Utf8(
        text, GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, text, kTextCapacity));
}

}  // namespace ornet5
