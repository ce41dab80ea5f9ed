#pragma once

#include <chrono>
#include <utility>

#include "engine/cycle_clock.h"
#include "serial/tick_source.h"

namespace ornet5 {

// The serial driver's receive-poll ticks on a detector's own thread: the
// thread's loop asks when the next one is due and fires it between cycles,
// never during one of the driver's calls. They run only while a port stays
// open between cycles (after the user's cancel).
class TThreadTicks : public TTickSource {
  public:
    // clock must outlive the ticks.
    explicit TThreadTicks(const TCycleClock& clock) : clock_(clock) {}

    void Start(std::chrono::milliseconds period, Handler handler) override {
        period_ = period;
        handler_ = std::move(handler);
        due_ = clock_.Now() + period_;
        running_ = true;
    }
    void Stop() override { running_ = false; }
    bool IsRunning() const override { return running_; }

    TCycleClock::TTime Due() const { return due_; }
    // The tick when it is due; a late one is not made up for.
    void FireIfDue() {
        const auto now = clock_.Now();
        if (!running_ || now < due_) {
            return;
        }
        due_ = now + period_;
        // The handler may restart or stop the source; keep this call's copy.
        const Handler handler = handler_;
        handler();
    }

  private:
    const TCycleClock& clock_;
    std::chrono::milliseconds period_{0};
    Handler handler_;
    TCycleClock::TTime due_{};
    bool running_ = false;
};

}  // namespace ornet5
