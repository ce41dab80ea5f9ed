// The Windows platform adapters under Wine: the Escape key pressed through
// the system's input queue, and the regional formats.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "app/win32/escape_key.h"
#include "app/win32/regional_formats.h"
#include "link/exchange.h"
#include "tests/support/manual_environment.h"
#include "tests/support/scripted_port.h"
#include "tests/support/steady_environment.h"

namespace ornet5 {
namespace {

void PressEscape(bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_ESCAPE;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
}

TEST(Win32EscapeKey, FollowsTheKeyAndCancelsAnExchange) {
    test::TManualEnvironment portClock;
    test::TScriptedPort port(portClock);
    port.OpenPort();
    test::TSteadyEnvironment environment;
    environment.escapeDown = EscapeKeyDown;

    PressEscape(true);
    EXPECT_TRUE(EscapeKeyDown());
    EXPECT_THROW(Exchange(port, environment, "request"), EProtocolCancel);
    PressEscape(false);
    EXPECT_FALSE(EscapeKeyDown());
}

std::string UserLocaleName() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    const int length = GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    return length > 1 ? std::string(name, name + length - 1) : std::string();
}

// Every Windows test runs in the users' own Russian formats (LANG in
// cmake/wine.cmake).
TEST(Win32RegionalFormats, AreTheUsersOwn) {
    ASSERT_EQ(UserLocaleName(), "ru-RU") << "Wine did not take the locale from LANG";
    const TWin32RegionalFormats formats;
    EXPECT_EQ(formats.DecimalSeparator(), ",");
    const std::string time = formats.LongTimeNow();
    EXPECT_TRUE(std::regex_match(time, std::regex("[0-9]?[0-9]:[0-9][0-9]:[0-9][0-9]"))) << time;
}

}  // namespace
}  // namespace ornet5
