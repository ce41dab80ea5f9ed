#pragma once

#include <functional>
#include <utility>

#include "engine/detector_events.h"

namespace ornet5 {

// The window thread's own queue (Qt's queued calls, Win32's posted
// messages): the one way from the engine's threads into the windows.
class TWindowThread {
  public:
    virtual ~TWindowThread() = default;
    // From any thread: the call runs on the window thread, after every
    // call posted before it, also inside a modal box's loop. Calls not yet
    // made when this object goes are dropped.
    virtual void Post(std::function<void()> call) = 0;
};

// A detector's events carried onto the window thread, where show takes
// them in the order they happened.
class TWindowThreadObserver : public TDetectorObserver {
  public:
    // thread and show must outlive the calls posted to thread.
    TWindowThreadObserver(TWindowThread& thread, std::function<void(const TDetectorEvent&)> show)
        : thread_(thread), show_(std::move(show)) {}

    void Observe(const TDetectorEvent& event) override {
        thread_.Post([this, event] { show_(event); });
    }

  private:
    TWindowThread& thread_;
    std::function<void(const TDetectorEvent&)> show_;
};

}  // namespace ornet5
