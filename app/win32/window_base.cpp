#include "app/win32/window_base.h"

#include <utility>

#include "app/win32/wide_text.h"
#include "common/exception.h"

namespace ornet5 {

namespace {

std::function<void(const std::exception&)>& ErrorReport() {
    static std::function<void(const std::exception&)> report;
    return report;
}

void RegisterClassOnce(const wchar_t* className, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::GetClassInfoExW(instance, className, &existing)) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    // The program icon is resource 1 of the program file.
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.lpszClassName = className;
    if (::RegisterClassExW(&windowClass) == 0) {
        throw Exception("RegisterClassExW failed");
    }
}

}  // namespace

TWin32Window::~TWin32Window() {
    Destroy();
}

void TWin32Window::SetErrorReport(std::function<void(const std::exception&)> report) {
    ErrorReport() = std::move(report);
}

void TWin32Window::ReportEscaped(std::exception_ptr error) noexcept {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& escaped) {
        if (ErrorReport()) {
            try {
                ErrorReport()(escaped);
            } catch (...) {
                // A report that fails itself has nowhere left to go.
            }
        }
    } catch (...) {
        ReportEscaped(std::make_exception_ptr(Exception(kUnknownErrorMessage)));
    }
}

void TWin32Window::Create(const TDesign& design) {
    RegisterClassOnce(design.className, &WindowProc);
    RECT outer{0, 0, design.clientWidth, design.clientHeight};
    ::AdjustWindowRectEx(&outer, design.style, FALSE, design.exStyle);
    window_ = ::CreateWindowExW(design.exStyle, design.className, Wide(design.caption).c_str(),
                                design.style, design.left, design.top, outer.right - outer.left,
                                outer.bottom - outer.top, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) {
        throw Exception("CreateWindowExW failed");
    }
}

void TWin32Window::Destroy() {
    if (window_ != nullptr) {
        HWND window = window_;
        // Messages of the destruction no longer reach a half-destroyed
        // object.
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        ::DestroyWindow(window);
    }
}

LRESULT TWin32Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT TWin32Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK TWin32Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* creating = static_cast<TWin32Window*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        creating->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* self = reinterpret_cast<TWin32Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportEscaped(std::current_exception());
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HFONT CreateDesignFont(const TDesignFont& font) {
    // A negative height asks for the character height, without the leading.
    return ::CreateFontW(-font.pixelHeight, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                         FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Wide(font.face).c_str());
}

HFONT DefaultDesignFont() {
    static const HFONT font = CreateDesignFont(kDefaultDesignFont);
    return font;
}

HWND CreateControl(HWND parent, const wchar_t* windowClass, const std::string& text, DWORD style,
                   DWORD exStyle, const TLayoutRect& place, int id, HFONT font) {
    HWND control = ::CreateWindowExW(
        exStyle, windowClass, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
        place.top, place.width, place.height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        throw Exception("CreateWindowExW failed for a control");
    }
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HWND CreateControl(HWND parent, const wchar_t* windowClass, const std::string& text, DWORD style,
                   const TLayoutRect& place, int id, DWORD exStyle) {
    return CreateControl(parent, windowClass, text, style, exStyle, place, id, DefaultDesignFont());
}

void ShowLoadedAndRaise(HWND window, const std::function<void()>& load) {
    if (!::IsWindowVisible(window)) {
        load();
        ::ShowWindow(window, SW_SHOW);
    }
    ::SetForegroundWindow(window);
    ::BringWindowToTop(window);
}

}  // namespace ornet5
