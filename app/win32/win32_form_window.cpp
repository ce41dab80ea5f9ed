#include "app/win32/win32_form_window.h"

#include <stdexcept>

namespace ornet5 {

namespace {

std::int32_t ScreenPixelsPerInch() {
    HDC screen = ::GetDC(nullptr);
    const int value = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return value;
}

TWindowPlacement FromWin32(const WINDOWPLACEMENT& record) {
    return TWindowPlacement{static_cast<std::int32_t>(record.flags),
                            static_cast<std::int32_t>(record.showCmd),
                            {record.ptMinPosition.x, record.ptMinPosition.y},
                            {record.ptMaxPosition.x, record.ptMaxPosition.y},
                            {record.rcNormalPosition.left, record.rcNormalPosition.top,
                             record.rcNormalPosition.right, record.rcNormalPosition.bottom}};
}

WINDOWPLACEMENT ToWin32(const TWindowPlacement& placement) {
    WINDOWPLACEMENT record{};
    record.length = sizeof(record);
    record.flags = static_cast<UINT>(placement.flags);
    record.showCmd = static_cast<UINT>(placement.showCmd);
    record.ptMinPosition = {placement.minPosition.x, placement.minPosition.y};
    record.ptMaxPosition = {placement.maxPosition.x, placement.maxPosition.y};
    record.rcNormalPosition = {placement.normalPosition.left, placement.normalPosition.top,
                               placement.normalPosition.right, placement.normalPosition.bottom};
    return record;
}

}  // namespace

TWin32FormWindow::TWin32FormWindow(HWND window, TBorderStyle borderStyle)
    : window_(window), borderStyle_(borderStyle), pixelsPerInch_(ScreenPixelsPerInch()) {}

TWindowPlacement TWin32FormWindow::Placement() const {
    WINDOWPLACEMENT record{};
    record.length = sizeof(record);
    if (!::GetWindowPlacement(window_, &record)) {
        throw std::runtime_error("GetWindowPlacement failed");
    }
    return FromWin32(record);
}

void TWin32FormWindow::SetPlacement(const TWindowPlacement& placement) {
    const WINDOWPLACEMENT record = ToWin32(placement);
    if (!::SetWindowPlacement(window_, &record)) {
        throw std::runtime_error("SetWindowPlacement failed");
    }
}

bool TWin32FormWindow::Visible() const {
    return ::IsWindowVisible(window_) != FALSE;
}

RECT TWin32FormWindow::WindowRect() const {
    RECT rect{};
    ::GetWindowRect(window_, &rect);
    return rect;
}

std::int32_t TWin32FormWindow::Left() const {
    return WindowRect().left;
}

std::int32_t TWin32FormWindow::Top() const {
    return WindowRect().top;
}

std::int32_t TWin32FormWindow::Width() const {
    const RECT rect = WindowRect();
    return rect.right - rect.left;
}

std::int32_t TWin32FormWindow::Height() const {
    const RECT rect = WindowRect();
    return rect.bottom - rect.top;
}

std::int32_t TWin32FormWindow::ScreenWidth() const {
    return ::GetSystemMetrics(SM_CXSCREEN);
}

std::int32_t TWin32FormWindow::ScreenHeight() const {
    return ::GetSystemMetrics(SM_CYSCREEN);
}

TPoint TWin32FormWindow::FrameMetric(TFrameMetric metric) const {
    switch (metric) {
        case TFrameMetric::Border:
            return {::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER)};
        case TFrameMetric::Frame:
            return {::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME)};
        case TFrameMetric::DialogFrame:
            return {::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME)};
    }
    return {};
}

}  // namespace ornet5
