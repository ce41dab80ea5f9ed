#include "tests/win32/running_program.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/win32/control_ids.h"
#include "app/win32/wide_text.h"

namespace ornet5::test {

using namespace std::chrono_literals;

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        ::Sleep(100);
    }
    return true;
}

std::string Text(HWND window) {
    wchar_t buffer[512] = {};
    ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return Utf8(buffer);
}

std::wstring WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return Wide(path);
}

namespace {

std::filesystem::path KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR folder = nullptr;
    EXPECT_TRUE(SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &folder)));
    std::filesystem::path path = folder != nullptr ? folder : L"";
    ::CoTaskMemFree(folder);
    return path;
}

}  // namespace

std::wstring SettingsFile() {
    return (KnownFolder(FOLDERID_RoamingAppData) / L"ORNET5.INI").wstring();
}

std::filesystem::path LocalDataFolder() {
    return KnownFolder(FOLDERID_LocalAppData) / L"ORNET5";
}

int TScreenShot::Count(COLORREF colour, int left, int right) const {
    right = right < 0 ? width : right;
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = left; x < right; ++x) {
            count += At(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

bool TScreenShot::SaveBmp(const std::filesystem::path& file) const {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER head{};
    BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    head.bfType = 0x4D42;  // "BM"
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = head.bfOffBits + static_cast<DWORD>(rowBytes * height);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&head), sizeof head);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    std::string row(static_cast<std::size_t>(rowBytes), '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = At(x, y);
            row[3 * x] = static_cast<char>(GetBValue(colour));
            row[3 * x + 1] = static_cast<char>(GetGValue(colour));
            row[3 * x + 2] = static_cast<char>(GetRValue(colour));
        }
        out.write(row.data(), rowBytes);
    }
    return out.good();
}

TScreenShot ShotOf(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    TScreenShot shot{client.right, client.bottom, {}};
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO format{};
    format.bmiHeader = {
        sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP picture = ::CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, picture);
    ::BitBlt(memory, 0, 0, shot.width, shot.height, screen, origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    shot.pixels.reserve(static_cast<std::size_t>(shot.width * shot.height));
    for (int i = 0; i < shot.width * shot.height; ++i) {
        // A DIB pixel is 0x00RRGGBB, a COLORREF 0x00BBGGRR.
        const DWORD p = pixels[i];
        shot.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    ::SelectObject(memory, old);
    ::DeleteObject(picture);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return shot;
}

TRunningProgram::TRunningProgram() {
    const char* exe = std::getenv("ORNET5_EXE");
    EXPECT_NE(exe, nullptr) << "ORNET5_EXE must name the program";
    std::wstring command = L"\"" + WindowsPath(exe != nullptr ? exe : "") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    started_ = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &startup, &process_) != FALSE;
    EXPECT_TRUE(started_) << "cannot start " << exe;
    // Idle once its message loop waits for input: every window and
    // control exists by then.
    ::WaitForInputIdle(process_.hProcess, 30000);
    EXPECT_TRUE(WaitFor([this] { return FindWindows(); }, 30s)) << "no windows appeared";
}

TRunningProgram::~TRunningProgram() {
    if (started_) {
        if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.hProcess, 1);
        }
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }
}

DWORD TRunningProgram::Close() {
    ::PostMessageW(face, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process_.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 0xFFFFFFFF;
    ::GetExitCodeProcess(process_.hProcess, &exitCode);
    return exitCode;
}

std::string TRunningProgram::FirstDose() {
    HWND dose = ::GetDlgItem(face, kIdLabelDose);
    WaitFor([&] { return Text(dose) != "Ждите"; }, 20s);
    return Text(dose);
}

bool TRunningProgram::FindWindows() {
    face = ::FindWindowW(L"TFace", kFaceCaption);
    settings = ::FindWindowW(L"TTrelanADCFace", kSettingsCaption);
    return face != nullptr && settings != nullptr;
}

}  // namespace ornet5::test
