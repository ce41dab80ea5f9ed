#pragma once

#include <mutex>
#include <vector>

#include "engine/detector_events.h"

namespace ornet5::test {

// When each of a detector's events of one sort came, by Clock, as the
// detector's thread tells them; read from any thread.
template <class Clock>
class TDetectorEventTimes : public TDetectorObserver {
  public:
    using TCounts = bool (*)(const TDetectorEvent& event);

    explicit TDetectorEventTimes(TCounts counts) : counts_(counts) {}

    void Observe(const TDetectorEvent& event) override {
        if (counts_(event)) {
            const std::lock_guard lock(mutex_);
            times_.push_back(Clock::now());
        }
    }
    std::vector<typename Clock::time_point> Times() const {
        const std::lock_guard lock(mutex_);
        return times_;
    }

  private:
    const TCounts counts_;
    mutable std::mutex mutex_;
    std::vector<typename Clock::time_point> times_;
};

}  // namespace ornet5::test
