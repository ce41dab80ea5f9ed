#pragma once

#include <chrono>
#include <thread>

namespace ornet5 {

// The serial driver's one millisecond clock: its idle rules, waits and the
// receive poll's packet timeout all read it. Tests put a manual one in its
// place so that timing is checked without sleeping.
class TTickClock {
  public:
    virtual ~TTickClock() = default;
    // Monotonic: only differences between two readings mean anything.
    virtual std::chrono::milliseconds Now() const = 0;
    // Lets the time pass without using the processor.
    virtual void Pause(std::chrono::milliseconds duration) const {
        std::this_thread::sleep_for(duration);
    }
};

// The steady (monotonic) clock of the standard library.
const TTickClock& SteadyTickClock();

}  // namespace ornet5
