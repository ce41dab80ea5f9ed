#pragma once

#include <exception>
#include <functional>
#include <string>

#include "app/window_layout.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ornet5 {

// A top-level window of the program: registers its class once, creates the
// window with a given client size and routes its messages to Handle. An
// error escaping Handle never crosses Windows' own frames: it goes to the
// program's error report, and the message gets its default handling.
class TWin32Window {
  public:
    struct TDesign {
        const wchar_t* className;
        std::string caption;
        DWORD style;
        DWORD exStyle;
        // CW_USEDEFAULT leaves the place to the window system.
        int left;
        int top;
        int clientWidth;
        int clientHeight;
    };

    virtual ~TWin32Window();
    TWin32Window(const TWin32Window&) = delete;
    TWin32Window& operator=(const TWin32Window&) = delete;

    HWND Handle() const { return window_; }

    // Where errors escaping any window's handler go: the standard report.
    static void SetErrorReport(std::function<void(const std::exception&)> report);
    static void ReportEscaped(std::exception_ptr error) noexcept;

  protected:
    TWin32Window() = default;
    // Creates the window; Handle messages start arriving during the call.
    void Create(const TDesign& design);
    // Destroys the window now (the destructor does it otherwise).
    void Destroy();

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

// Controls and fonts of the fixed designs: sizes in pixels at 96 pixels per
// inch, not scaled.

// A font of the design, by its character height (the height without the
// internal leading).
HFONT CreateDesignFont(const TDesignFont& font);

// The designs' default font: "MS Sans Serif", 11 pixels.
HFONT DefaultDesignFont();

constexpr RECT WinRect(const TLayoutRect& rect) {
    return {rect.left, rect.top, rect.Right(), rect.Bottom()};
}

HWND CreateControl(HWND parent, const wchar_t* windowClass, const std::string& text, DWORD style,
                   DWORD exStyle, const TLayoutRect& place, int id, HFONT font);
// The same in the designs' default font.
HWND CreateControl(HWND parent, const wchar_t* windowClass, const std::string& text, DWORD style,
                   const TLayoutRect& place, int id, DWORD exStyle = 0);

// A window's show: a hidden window is loaded first (its store restores)
// and shown; either way it comes to the front.
void ShowLoadedAndRaise(HWND window, const std::function<void()>& load);

}  // namespace ornet5
