// ORNET5.exe end to end under Wine, read from outside as a user's tools
// would (tests/win32/running_program.h). The simulator serves COM3
// (win32_run_with_sim.sh, reading word FC7B, 0.123 µSv/h); Russian regional
// formats give the decimal comma.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <regex>
#include <string>

#include "app/win32/control_ids.h"
#include "app/win32/wide_text.h"
#include "tests/win32/running_program.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using namespace test;

const wchar_t* const kSection = L"TTrelanADCFace";

std::string StoredValue(const wchar_t* key) {
    wchar_t value[256] = {};
    ::GetPrivateProfileStringW(kSection, key, L"<missing>", value, 256, SettingsFile().c_str());
    return Utf8(value);
}

// A control's place relative to its window's client area, and its size.
RECT ClientPlace(HWND window, int id) {
    RECT place{};
    ::GetWindowRect(::GetDlgItem(window, id), &place);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right - place.left, place.bottom - place.top};
}

SIZE ClientSize(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return {client.right, client.bottom};
}

struct TErrorBoxes {
    int count = 0;
    HWND last = nullptr;
};

BOOL CALLBACK CountErrorBox(HWND window, LPARAM found) {
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    if (std::wstring(className) == L"#32770" && ::IsWindowVisible(window) &&
        Wide(Text(window)) == kFaceCaption) {
        auto* boxes = reinterpret_cast<TErrorBoxes*>(found);
        ++boxes->count;
        boxes->last = window;
    }
    return TRUE;
}

TErrorBoxes ErrorBoxes() {
    TErrorBoxes boxes;
    ::EnumWindows(&CountErrorBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

// The message box's own text, beside its OK button.
std::string ErrorBoxMessage(HWND box) {
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        ::GetClassNameW(child, className, 32);
        const std::string text = Text(child);
        if (std::wstring(className) == L"Static" && !text.empty()) {
            return text;
        }
    }
    return {};
}

struct TInkCount {
    int text = 0;
    int grey = 0;
};

// How many pixels of the dose label, as the screen shows it, have the
// colour of ordinary text and how many that of text that does not apply.
TInkCount DoseInk(HWND face) {
    const TScreenShot shot = ShotOf(::GetDlgItem(face, kIdLabelDose));
    return {shot.Count(::GetSysColor(COLOR_WINDOWTEXT)), shot.Count(::GetSysColor(COLOR_GRAYTEXT))};
}

class Ornet5Exe : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("ORNET5_SIM_LOG") == nullptr) {
            GTEST_SKIP() << "needs ornet5-sim: run through win32_run_with_sim.sh";
        }
        ::DeleteFileW(SettingsFile().c_str());
    }
};

TEST_F(Ornet5Exe, ShowsTheReadingStoresTheChoicesAndUsesThemAtTheNextStart) {
    {
        TRunningProgram program;
        ASSERT_NE(program.face, nullptr);
        EXPECT_EQ(Text(::GetDlgItem(program.face, kIdLabelTitle)),
                  "Текущее значение мощности дозы, мкЗв/ч");
        EXPECT_EQ(program.FirstDose(), "0,12");
        EXPECT_TRUE(std::regex_match(
            Text(::GetDlgItem(program.settings, kIdStatusBar)),
            std::regex("В [0-9]?[0-9]:[0-9][0-9]:[0-9][0-9] мощность дозы составляла 0,12")))
            << Text(::GetDlgItem(program.settings, kIdStatusBar));
        EXPECT_EQ(Text(::GetDlgItem(program.settings, kIdDeviceAdr)), "4.2.31");
        // Shown and closed at the first activation: hidden, the file written.
        EXPECT_FALSE(::IsWindowVisible(program.settings));
        EXPECT_EQ(program.Close(), 0u);
    }
    EXPECT_EQ(StoredValue(L"FormVersion"), "0");
    EXPECT_EQ(StoredValue(L"CB_ComPort_Speed_ItemIndex"), "1");
    EXPECT_EQ(StoredValue(L"CB_ComPort_ItemIndex"), "2");
    EXPECT_EQ(StoredValue(L"rbRentgen_Checked"), "False");
    EXPECT_EQ(StoredValue(L"rbZv_Checked"), "True");
    EXPECT_EQ(StoredValue(L"Visible"), "0");

    const std::wstring file = SettingsFile();
    const std::wstring normPos = L"NormPos(" + std::to_wstring(::GetSystemMetrics(SM_CXSCREEN)) +
                                 L"x" + std::to_wstring(::GetSystemMetrics(SM_CYSCREEN)) + L")";
    ::WritePrivateProfileStringW(kSection, L"CB_ComPort_Speed_ItemIndex", L"2", file.c_str());
    ::WritePrivateProfileStringW(kSection, L"rbRentgen_Checked", L"True", file.c_str());
    ::WritePrivateProfileStringW(kSection, L"rbZv_Checked", L"False", file.c_str());
    ::WritePrivateProfileStringW(kSection, normPos.c_str(), L"100,120,500,500", file.c_str());
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());

    TRunningProgram program;
    ASSERT_NE(program.face, nullptr);
    HWND title = ::GetDlgItem(program.face, kIdLabelTitle);
    EXPECT_TRUE(WaitFor([&] { return Text(title) == "Измерение в мк&Р/ч"; }, 10s)) << Text(title);
    EXPECT_EQ(Text(::GetDlgItem(program.settings, kIdComPortSpeed)), "4800");
    EXPECT_EQ(::SendMessageW(::GetDlgItem(program.settings, kIdRentgen), BM_GETCHECK, 0, 0),
              BST_CHECKED);
    // 0.123 µSv/h shown in µR/h.
    EXPECT_EQ(program.FirstDose(), "12,00");
    RECT place{};
    ::GetWindowRect(program.settings, &place);
    EXPECT_EQ(place.left, 100);
    EXPECT_EQ(place.top, 120);

    // A speed that is not a number fails every tick; one box shows it.
    ::SendMessageW(::GetDlgItem(program.settings, kIdComPortSpeed), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"abc"));
    ASSERT_TRUE(WaitFor([] { return ErrorBoxes().count > 0; }, 10s)) << "no error box";
    EXPECT_EQ(ErrorBoxMessage(ErrorBoxes().last), "'abc' is not a valid integer value.");
    ::Sleep(7000);  // two more ticks behind the open box
    EXPECT_EQ(ErrorBoxes().count, 1);
    ::PostMessageW(ErrorBoxes().last, WM_COMMAND, IDOK, 0);
    ::SendMessageW(::GetDlgItem(program.settings, kIdComPortSpeed), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"9600"));
    ASSERT_TRUE(WaitFor([] { return ErrorBoxes().count == 0; }, 10s));
    EXPECT_EQ(program.Close(), 0u);
}

TEST_F(Ornet5Exe, MenuOpensTheSettingsAndTheAboutBoxAndLoggingOffSaves) {
    TRunningProgram program;
    ASSERT_NE(program.face, nullptr);
    ASSERT_EQ(program.FirstDose(), "0,12");
    ::PostMessageW(program.face, WM_COMMAND, kCommandOptionsShow, 0);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.settings) != FALSE; }, 10s));
    ::SendMessageW(::GetDlgItem(program.settings, kIdRentgen), BM_CLICK, 0, 0);
    EXPECT_EQ(Text(::GetDlgItem(program.face, kIdLabelTitle)), "Измерение в мк&Р/ч");
    EXPECT_EQ(::SendMessageW(::GetDlgItem(program.settings, kIdZv), BM_GETCHECK, 0, 0),
              BST_UNCHECKED);

    ::PostMessageW(program.face, WM_COMMAND, kCommandAbout, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] { return (about = ::FindWindowW(L"TAboutBox", L"О программе")) != nullptr; }, 10s));
    ::WaitForInputIdle(program.Process(), 10000);
    const SIZE box = ClientSize(about);
    EXPECT_EQ(box.cx, 298);
    EXPECT_EQ(box.cy, 213);
    const RECT ok = ClientPlace(about, IDOK);
    EXPECT_EQ(ok.left, 111);
    EXPECT_EQ(ok.top, 180);
    EXPECT_FALSE(::IsWindowEnabled(program.face));
    // Polling goes on behind the modal box: the status names a later time.
    HWND status = ::GetDlgItem(program.settings, kIdStatusBar);
    const std::string before = Text(status);
    EXPECT_TRUE(WaitFor([&] { return Text(status) != before && !Text(status).empty(); }, 10s));
    ::PostMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([] { return ::FindWindowW(L"TAboutBox", nullptr) == nullptr; }, 10s));
    EXPECT_TRUE(::IsWindowEnabled(program.face));

    // Logging off with the settings window open saves the unit just chosen.
    EXPECT_NE(::SendMessageW(program.face, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
    ::SendMessageW(program.face, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(StoredValue(L"rbRentgen_Checked"), "True");
    EXPECT_EQ(StoredValue(L"rbZv_Checked"), "False");
    EXPECT_EQ(StoredValue(L"Visible"), "1");
    EXPECT_EQ(program.Close(), 0u);
}

// A save that fails as the session ends is written to the program's log: a
// box opened inside the end-session message would hold the logoff up.
TEST_F(Ornet5Exe, AFailedSaveAtTheSessionsEndOpensNoBoxAndIsLogged) {
    const std::filesystem::path log = LocalDataFolder() / "ORNET5.log";
    std::filesystem::remove(log);
    TRunningProgram program;
    ASSERT_NE(program.face, nullptr);
    const std::wstring file = SettingsFile();
    ASSERT_TRUE(WaitFor(
        [&] { return ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10s));
    ::PostMessageW(program.face, WM_COMMAND, kCommandOptionsShow, 0);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.settings) != FALSE; }, 10s));
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutW(program.face, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                    SMTO_NORMAL, 5000, &answer),
              0)
        << "the end-session message was not answered";
    EXPECT_EQ(ErrorBoxes().count, 0);
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(program.Close(), 0u);
    std::ifstream in(log);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(text.find(" ORNET5: error while ending: Unable to write to "), std::string::npos)
        << text;
}

// Escape held down is seen at the next attempt's start, whatever window has
// the focus: the exchange is cancelled, one box tells it, polling goes on.
TEST_F(Ornet5Exe, EscapeCancelsTheExchangeAndPollingGoesOn) {
    TRunningProgram program;
    ASSERT_NE(program.face, nullptr);
    ASSERT_EQ(program.FirstDose(), "0,12");
    const auto press = [](bool down) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_ESCAPE;
        key.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        ::SendInput(1, &key, sizeof key);
    };
    press(true);
    const bool boxShown = WaitFor([] { return ErrorBoxes().count > 0; }, 10s);
    press(false);
    ASSERT_TRUE(boxShown) << "no box while Escape was down";
    EXPECT_EQ(ErrorBoxMessage(ErrorBoxes().last), "Отменено пользователем.");
    EXPECT_EQ(Text(::GetDlgItem(program.settings, kIdStatusBar)), "Отменено пользователем");
    ::PostMessageW(ErrorBoxes().last, WM_COMMAND, IDOK, 0);
    HWND status = ::GetDlgItem(program.settings, kIdStatusBar);
    EXPECT_TRUE(WaitFor([&] { return Text(status).starts_with("В "); }, 10s)) << Text(status);
    EXPECT_EQ(program.Close(), 0u);
}

// Ends the simulator: the last of the cases that need it (cases run in
// the order they are written).
TEST_F(Ornet5Exe, AnOldDoseTurnsGreyWhenTheDetectorGoesAway) {
    TRunningProgram program;
    ASSERT_NE(program.face, nullptr);
    ASSERT_EQ(program.FirstDose(), "0,12");
    EXPECT_TRUE(WaitFor([&] { return DoseInk(program.face).text > 100; }, 5s));
    EXPECT_EQ(DoseInk(program.face).grey, 0);
    // win32_run_with_sim.sh ends the simulator and answers "gone".
    std::cout << "ornet5-test: end the detector" << std::endl;
    std::string answer;
    std::getline(std::cin, answer);
    ASSERT_EQ(answer, "gone");
    EXPECT_TRUE(WaitFor([&] { return DoseInk(program.face).grey > 100; }, 10s));
    EXPECT_EQ(DoseInk(program.face).text, 0);
    EXPECT_EQ(Text(::GetDlgItem(program.face, kIdLabelDose)), "0,12");
    EXPECT_EQ(program.Close(), 0u);
}

TEST(Ornet5ExeLayout, WindowsHaveTheirDesignSizesAndPlaces) {
    if (std::getenv("ORNET5_SIM_LOG") == nullptr) {
        GTEST_SKIP() << "needs ornet5-sim: run through win32_run_with_sim.sh";
    }
    TRunningProgram program;
    ASSERT_NE(program.face, nullptr);
    const SIZE face = ClientSize(program.face);
    EXPECT_EQ(face.cx, 385);
    EXPECT_EQ(face.cy, 146);
    const LONG_PTR style = ::GetWindowLongPtrW(program.face, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(::GetWindowLongPtrW(program.face, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    const RECT dose = ClientPlace(program.face, kIdLabelDose);
    EXPECT_EQ(dose.left, 0);
    EXPECT_EQ(dose.top, 24);
    EXPECT_EQ(dose.right, 385);   // width
    EXPECT_EQ(dose.bottom, 121);  // height

    const SIZE settings = ClientSize(program.settings);
    EXPECT_EQ(settings.cx, 343);
    EXPECT_EQ(settings.cy, 117);
    const RECT speed = ClientPlace(program.settings, kIdComPortSpeed);
    EXPECT_EQ(speed.left, 16);
    EXPECT_EQ(speed.top, 48);
    EXPECT_EQ(speed.right, 145);
    const RECT rentgen = ClientPlace(program.settings, kIdRentgen);
    EXPECT_EQ(rentgen.left, 176);
    EXPECT_EQ(rentgen.top, 80);
    EXPECT_EQ(Text(::GetDlgItem(program.settings, kIdGroupBox1)), "СОМ-порт");

    // A right click on the dose label opens the popup menu where it was
    // clicked; the context-menu key opens it at the client area's corner.
    RECT doseOnScreen{};
    ::GetWindowRect(::GetDlgItem(program.face, kIdLabelDose), &doseOnScreen);
    const POINT click{doseOnScreen.left + 50, doseOnScreen.top + 40};
    ::SetCursorPos(click.x, click.y);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ::SendInput(2, press, sizeof(INPUT));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            return (menu = ::FindWindowW(L"#32768", nullptr)) != nullptr && ::IsWindowVisible(menu);
        },
        5s));
    RECT menuPlace{};
    ::GetWindowRect(menu, &menuPlace);
    EXPECT_EQ(menuPlace.left, click.x);
    EXPECT_EQ(menuPlace.top, click.y);
    ::PostMessageW(program.face, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(menu); }, 5s));
    ::PostMessageW(program.face, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(program.face), -1);
    ASSERT_TRUE(WaitFor(
        [&] {
            return (menu = ::FindWindowW(L"#32768", nullptr)) != nullptr && ::IsWindowVisible(menu);
        },
        5s));
    POINT corner{0, 0};
    ::ClientToScreen(program.face, &corner);
    ::GetWindowRect(menu, &menuPlace);
    EXPECT_EQ(menuPlace.left, corner.x);
    EXPECT_EQ(menuPlace.top, corner.y);
    ::PostMessageW(program.face, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(menu); }, 5s));

    // Typed text completes to the first entry it begins, case ignored; text
    // that begins no entry stays as typed, with no entry selected.
    HWND port = ::GetDlgItem(program.settings, kIdComPort);
    HWND portEdit = ::FindWindowExW(port, nullptr, L"Edit", nullptr);
    ::SendMessageW(portEdit, EM_SETSEL, 0, -1);
    for (const wchar_t c : std::wstring(L"com2")) {
        ::PostMessageW(portEdit, WM_CHAR, c, 1);
    }
    EXPECT_TRUE(WaitFor([&] { return Text(port) == "COM2"; }, 5s)) << Text(port);
    EXPECT_EQ(::SendMessageW(port, CB_GETCURSEL, 0, 0), 1);
    ::SendMessageW(portEdit, EM_SETSEL, 4, 4);
    ::PostMessageW(portEdit, WM_CHAR, L'5', 1);
    EXPECT_TRUE(WaitFor([&] { return Text(port) == "COM25"; }, 5s)) << Text(port);
    EXPECT_EQ(::SendMessageW(port, CB_GETCURSEL, 0, 0), CB_ERR);

    // The edit's context menu cuts and deletes with WM_CUT and WM_CLEAR:
    // "COM3" cut to "COM" is a removal, not completed back to COM1.
    for (const UINT removal : {WM_CUT, WM_CLEAR}) {
        ::SendMessageW(portEdit, EM_SETSEL, 0, -1);
        for (const wchar_t c : std::wstring(L"COM3")) {
            ::PostMessageW(portEdit, WM_CHAR, c, 1);
        }
        ASSERT_TRUE(WaitFor([&] { return Text(port) == "COM3"; }, 5s)) << Text(port);
        ::SendMessageW(portEdit, EM_SETSEL, 3, 4);
        ::SendMessageW(portEdit, removal, 0, 0);
        EXPECT_EQ(Text(port), "COM") << removal;
        EXPECT_EQ(::SendMessageW(port, CB_GETCURSEL, 0, 0), CB_ERR) << removal;
    }
    EXPECT_EQ(program.Close(), 0u);
}

TEST(Ornet5ExeFile, CarriesItsVersionInRussianAndItsIcon) {
    const char* exe = std::getenv("ORNET5_EXE");
    ASSERT_NE(exe, nullptr);
    const std::wstring path = WindowsPath(exe);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::string info(size, '\0');
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    wchar_t* comment = nullptr;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\StringFileInfo\\041904E3\\Comments",
                                 reinterpret_cast<void**>(&comment), &length));
    EXPECT_EQ(Utf8(comment), "для ОРНЕТ-5");

    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)), nullptr)
        << "no program icon";  // RT_GROUP_ICON
    EXPECT_NE(::FindResourceW(module, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(10)), nullptr)
        << "no about picture";  // RT_RCDATA
    ::FreeLibrary(module);
}

}  // namespace
}  // namespace ornet5
