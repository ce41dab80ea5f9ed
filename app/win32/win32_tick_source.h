#pragma once

#include "serial/tick_source.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ornet5 {

// Ticks from a window timer, dispatched by the thread's message loop (and
// by the modal loops of message boxes and the about box), for the serial
// driver's receive poll. The timer belongs to a window of the thread that
// the owner gives; each source uses its own timer id on it.
class TWin32TickSource : public TTickSource {
  public:
    TWin32TickSource(HWND window, UINT_PTR timerId) : window_(window), timerId_(timerId) {}
    ~TWin32TickSource() override;
    TWin32TickSource(const TWin32TickSource&) = delete;
    TWin32TickSource& operator=(const TWin32TickSource&) = delete;

    void Start(std::chrono::milliseconds period, Handler handler) override;
    void Stop() override;
    bool IsRunning() const override { return running_; }

    // The window's WM_TIMER for this source's id; false for other ids.
    bool HandleTimer(UINT_PTR timerId);

  private:
    HWND window_;
    UINT_PTR timerId_;
    Handler handler_;
    bool running_ = false;
};

}  // namespace ornet5
