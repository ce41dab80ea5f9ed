// The Windows platform adapters under Wine: the Escape key pressed through
// the system's input queue, and the regional formats of the locale that
// the test's CTest entry names in ORNET5_TEST_LOCALE (Wine takes the user's
// locale from LANG).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
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

class Win32RegionalFormats : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* wanted = std::getenv("ORNET5_TEST_LOCALE");
        if (wanted == nullptr) {
            GTEST_SKIP() << "needs ORNET5_TEST_LOCALE and the same locale in LANG";
        }
        ASSERT_EQ(UserLocaleName(), wanted) << "Wine did not take the locale from LANG";
        locale = wanted;
    }

    std::string locale;
    TWin32RegionalFormats formats;
};

TEST_F(Win32RegionalFormats, AreTheUsersInUtf8) {
    const std::string time = formats.LongTimeNow();
    if (locale == "ru-RU") {
        EXPECT_EQ(formats.DecimalSeparator(), ",");
        EXPECT_TRUE(std::regex_match(time, std::regex("[0-9]?[0-9]:[0-9][0-9]:[0-9][0-9]")))
            << time;
    } else if (locale == "el-GR") {
        // The Greek long time format names the half of the day in Greek.
        EXPECT_EQ(formats.DecimalSeparator(), ",");
        EXPECT_TRUE(time.find("π.μ.") != std::string::npos ||
                    time.find("μ.μ.") != std::string::npos)
            << time;
    } else {
        FAIL() << "no expectations for " << locale;
    }
}

}  // namespace
}  // namespace ornet5
