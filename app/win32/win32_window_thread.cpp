#include "app/win32/win32_window_thread.h"

#include <stdexcept>
#include <utility>

#include "app/win32/window_base.h"

namespace ornet5 {

namespace {

constexpr const wchar_t* kClassName = L"TWindowThreadQueue";
constexpr UINT kRunQueuedMessage = WM_APP + 7;

}  // namespace

TWin32WindowThread::TWin32WindowThread() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &TWin32WindowThread::WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    // A second registration (a second queue) fails harmlessly.
    ::RegisterClassW(&windowClass);
    window_ = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    if (window_ == nullptr) {
        throw std::runtime_error("The window thread's queue cannot be made");
    }
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TWin32WindowThread::~TWin32WindowThread() {
    ::DestroyWindow(window_);
}

void TWin32WindowThread::Post(std::function<void()> call) {
    const std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
    if (!messagePosted_) {
        messagePosted_ = ::PostMessageW(window_, kRunQueuedMessage, 0, 0) != 0;
    }
}

void TWin32WindowThread::RunQueued() {
    for (;;) {
        std::function<void()> call;
        {
            const std::lock_guard lock(mutex_);
            messagePosted_ = false;
            if (calls_.empty()) {
                return;
            }
            call = std::move(calls_.front());
            calls_.pop_front();
        }
        try {
            call();
        } catch (...) {
            TWin32Window::ReportEscaped(std::current_exception());
        }
    }
}

LRESULT CALLBACK TWin32WindowThread::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == kRunQueuedMessage) {
        auto* queue =
            reinterpret_cast<TWin32WindowThread*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (queue != nullptr) {
            queue->RunQueued();
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ornet5
