#include "app/win32/regional_formats.h"

#include <windows.h>

#include "common/win32_utf8.h"

namespace ornet5 {

namespace {

// The longest text either call can give, with its terminating zero
// (LOCALE_SDECIMAL allows 4 characters, a time format 80).
constexpr int kTextCapacity = 128;

// length counts the terminating zero, as the locale functions report it;
// a failed call reports 0.
std::string LocaleText(const wchar_t* text, int length) {
    return length <= 1 ? std::string() : Utf8(std::wstring_view(text, length - 1));
}

}  // namespace

// A failing call leaves the text empty; the dose text then has no
// separator, which is visible but does no harm.
std::string TWin32RegionalFormats::DecimalSeparator() const {
    wchar_t text[kTextCapacity];
    return LocaleText(
        text, GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text, kTextCapacity));
}

// No time and no format given: the current local time in the user's long
// time format.
std::string TWin32RegionalFormats::LongTimeNow() const {
    wchar_t text[kTextCapacity];
    return LocaleText(
        text, GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, text, kTextCapacity));
}

}  // namespace ornet5
