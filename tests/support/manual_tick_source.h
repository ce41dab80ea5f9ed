#pragma once

#include <chrono>
#include <utility>

#include "serial/tick_source.h"

namespace ornet5 {

// A tick source that ticks only when the test says so, on the test's thread.
class TManualTickSource : public TTickSource {
  public:
    void Start(std::chrono::milliseconds period, Handler handler) override {
        period_ = period;
        handler_ = std::move(handler);
        running_ = true;
        ++starts_;
    }
    void Stop() override {
        running_ = false;
        handler_ = nullptr;
    }
    bool IsRunning() const override { return running_; }

    // Calls the handler once, as a timer tick would, when running. A copy
    // runs, so the handler may stop or restart the source meanwhile.
    void Tick() {
        if (!running_ || !handler_) {
            return;
        }
        Handler handler = handler_;
        handler();
    }

    std::chrono::milliseconds Period() const { return period_; }
    // How often Start was called, to tell a restart from none.
    int StartCount() const { return starts_; }

  private:
    Handler handler_;
    std::chrono::milliseconds period_{0};
    bool running_ = false;
    int starts_ = 0;
};

}  // namespace ornet5
