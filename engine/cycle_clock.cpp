#include "engine/cycle_clock.h"

#include <thread>

namespace ornet5 {

void TSteadyCycleClock::SleepUntil(TTime deadline, const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    // Nothing but a stop ends the wait early; a spurious wake-up waits on.
    wake_.wait_until(lock, stop, deadline, [] { return false; });
}

void TSteadyCycleClock::Pause(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace ornet5
