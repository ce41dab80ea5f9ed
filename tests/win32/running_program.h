#pragma once

// ORNET5.exe driven from outside under Wine, as a user's tools would: the
// program started as a process, its windows found by class and caption,
// texts read with WM_GETTEXT, pixels read from the screen.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ornet5::test {

inline constexpr const wchar_t* kFaceCaption = L"ОРНЕТ-5";
inline constexpr const wchar_t* kSettingsCaption = L"Измеритель на Trelan";

// The program's state is read from another process, so tests look again
// every 100 ms until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// A window's text in UTF-8.
std::string Text(HWND window);

// A Linux path as Wine's Z: drive shows it; other paths are kept.
std::wstring WindowsPath(std::string path);

// The program's settings file: in the application-data folder, since none
// lies in the Windows directory.
std::wstring SettingsFile();

// %LOCALAPPDATA%\ORNET5, where the journal and the log are kept.
std::filesystem::path LocalDataFolder();

// The pixels of a window's client area as the screen shows them (windows
// above it included), row by row from the top.
struct TScreenShot {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    // Pixels of the colour inside the columns [left, right).
    int Count(COLORREF colour, int left = 0, int right = -1) const;
    // A 24-bit BMP file; false when it cannot be written.
    bool SaveBmp(const std::filesystem::path& file) const;
};
TScreenShot ShotOf(HWND window);

// ORNET5.exe (the path in ORNET5_EXE) started and its main window and
// settings window found; ended when destroyed if still running.
class TRunningProgram {
  public:
    TRunningProgram();
    ~TRunningProgram();
    TRunningProgram(const TRunningProgram&) = delete;
    TRunningProgram& operator=(const TRunningProgram&) = delete;

    // Closes the main window as its close button does; the exit code.
    DWORD Close();

    // Waits for the first reading to replace the placeholder.
    std::string FirstDose();

    HANDLE Process() const { return process_.hProcess; }

    HWND face = nullptr;
    HWND settings = nullptr;

  private:
    bool FindWindows();

    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

}  // namespace ornet5::test
