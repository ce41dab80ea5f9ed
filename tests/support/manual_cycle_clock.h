#pragma once

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "engine/cycle_clock.h"

namespace ornet5::test {

// A detector's clock whose time moves only as far as the test lets it: the
// detector's thread sleeps until the test allows its deadline, then the
// time jumps there; a pause inside a cycle moves it on at once.
class TManualCycleClock : public TCycleClock {
  public:
    TTime Now() const override {
        const std::lock_guard lock(mutex_);
        return now_;
    }
    void SleepUntil(TTime deadline, const std::stop_token& stop) override {
        std::unique_lock lock(mutex_);
        sleepingUntil_ = deadline;
        changed_.notify_all();
        changed_.wait(lock, stop, [&] { return deadline <= limit_; });
        sleepingUntil_.reset();
        if (!stop.stop_requested()) {
            now_ = std::max(now_, deadline);
        }
    }
    void Pause(std::chrono::milliseconds duration) override {
        const std::lock_guard lock(mutex_);
        now_ += duration;
    }

    // Lets the time run to Start() + elapsed and returns once the
    // detector's thread sleeps towards a later time.
    void RunFor(std::chrono::milliseconds elapsed) {
        std::unique_lock lock(mutex_);
        limit_ = kStart + elapsed;
        changed_.notify_all();
        changed_.wait(lock, [&] { return sleepingUntil_ && *sleepingUntil_ > limit_; });
    }
    static constexpr TTime kStart = TTime{} + std::chrono::hours(1000);

  private:
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    TTime now_ = kStart;
    TTime limit_ = kStart;
    std::optional<TTime> sleepingUntil_;
};

}  // namespace ornet5::test
