#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "app/window_thread.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ornet5 {

// The window thread's queue as Windows keeps it: the calls wait in order in
// a list of their own, and a message posted to a message-only window of
// the thread makes the thread's message loop (or a modal box's) run them.
// One message stands for all the calls queued behind it.
class TWin32WindowThread : public TWindowThread {
  public:
    // Made on the window thread.
    TWin32WindowThread();
    // Calls not yet made are dropped.
    ~TWin32WindowThread() override;
    TWin32WindowThread(const TWin32WindowThread&) = delete;
    TWin32WindowThread& operator=(const TWin32WindowThread&) = delete;

    void Post(std::function<void()> call) override;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Runs the calls queued until the list is empty, each outside the lock;
    // a call that opens a modal box lets the later ones run inside its loop.
    void RunQueued();

    HWND window_ = nullptr;
    std::mutex mutex_;
    std::deque<std::function<void()>> calls_;
    bool messagePosted_ = false;
};

}  // namespace ornet5
