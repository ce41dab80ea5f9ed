#pragma once

#include <chrono>

#include "serial/tick_clock.h"

namespace ornet5 {

// A millisecond clock that moves only when the test advances it.
class TManualTickClock : public TTickClock {
  public:
    std::chrono::milliseconds Now() const override { return now_; }
    // A pause of the code under test lets exactly its time pass.
    void Pause(std::chrono::milliseconds duration) const override { now_ += duration; }
    void Advance(std::chrono::milliseconds step) { now_ += step; }

  private:
    // Far from zero, so that no reading looks like a special value.
    mutable std::chrono::milliseconds now_{1'000'000};
};

}  // namespace ornet5
