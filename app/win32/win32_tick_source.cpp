#include "app/win32/win32_tick_source.h"

#include <utility>

namespace ornet5 {

TWin32TickSource::~TWin32TickSource() {
    Stop();
}

void TWin32TickSource::Start(std::chrono::milliseconds period, Handler handler) {
    // SetTimer takes at least USER_TIMER_MINIMUM (10 ms) anyway.
    const auto count = period.count() < 1 ? 1 : period.count();
    handler_ = std::move(handler);
    // The driver never raises: a timer that Windows refuses leaves the
    // receive poll silent, which IsRunning shows.
    running_ = ::SetTimer(window_, timerId_, static_cast<UINT>(count), nullptr) != 0;
}

void TWin32TickSource::Stop() {
    if (running_) {
        ::KillTimer(window_, timerId_);
        running_ = false;
    }
}

bool TWin32TickSource::HandleTimer(UINT_PTR timerId) {
    if (timerId != timerId_) {
        return false;
    }
    // A tick already queued when the source stopped is dropped.
    if (running_ && handler_) {
        const Handler handler = handler_;
        handler();
    }
    return true;
}

}  // namespace ornet5
