#pragma once

#include <chrono>

namespace ornet5 {

// The millisecond clock of the receive poll's packet timeout; tests put a
// manual one in its place so that the timeout is checked without sleeping.
class TTickClock {
  public:
    virtual ~TTickClock() = default;
    // Monotonic: only differences between two readings mean anything.
    virtual std::chrono::milliseconds Now() const = 0;
};

// The steady (monotonic) clock of the standard library.
const TTickClock& SteadyTickClock();

}  // namespace ornet5
