#include "serial/tick_clock.h"

namespace ornet5 {

namespace {

class TSteadyTickClock final : public TTickClock {
  public:
    std::chrono::milliseconds Now() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};

}  // namespace

const TTickClock& SteadyTickClock() {
    static const TSteadyTickClock clock;
    return clock;
}

}  // namespace ornet5
