// ORNET5: dose-rate monitor for ОРНЕТ-5 detectors, Windows edition.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <exception>

#include "app/app_title.h"
#include "app/win32/wide_text.h"
#include "app/win32/win32_program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The status bar's class, and the OLE picture support that decodes the
    // about box's picture.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    const bool oleReady = SUCCEEDED(::OleInitialize(nullptr));
    int exitCode = 1;
    try {
        ornet5::TWin32Program program;
        exitCode = program.Run();
    } catch (const std::exception& error) {
        ::MessageBoxW(nullptr, ornet5::Wide(error.what()).c_str(),
                      ornet5::Wide(ornet5::kApplicationTitle).c_str(), MB_OK | MB_ICONSTOP);
    }
    if (oleReady) {
        ::OleUninitialize();
    }
    return exitCode;
}
