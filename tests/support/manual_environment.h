#pragma once

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "link/exchange.h"
#include "tests/support/manual_tick_clock.h"

namespace ornet5::test {

// An exchange environment whose clock moves only when told to, whose
// Escape key is down at chosen calls, and which records status texts.
// Given a driver's manual clock it reads and moves that one instead of its
// own, so that the exchange and the driver under it share one time.
class TManualEnvironment : public TExchangeEnvironment {
  public:
    TManualEnvironment() = default;
    explicit TManualEnvironment(TManualTickClock& clock) : clock_(&clock), start_(Current()) {}

    bool EscapeDown() override { return escapeDownAtCalls.contains(escapeCalls++); }
    std::chrono::steady_clock::time_point Now() override { return Current(); }
    void ShowStatus(const std::string& text) override {
        statusTexts.push_back(text);
        if (onStatus) {
            onStatus(text);
        }
    }
    void Pause(std::chrono::milliseconds duration) override {
        pauses.push_back(duration);
        Advance(duration);
    }

    void Advance(std::chrono::steady_clock::duration duration) {
        if (clock_ != nullptr) {
            clock_->Advance(std::chrono::ceil<std::chrono::milliseconds>(duration));
        } else {
            now_ += duration;
        }
    }
    std::chrono::steady_clock::duration Elapsed() const { return Current() - start_; }

    std::set<int> escapeDownAtCalls;  // 0 is the first EscapeDown call
    int escapeCalls = 0;
    std::vector<std::string> statusTexts;
    std::vector<std::chrono::milliseconds> pauses;
    std::function<void(const std::string&)> onStatus;

  private:
    std::chrono::steady_clock::time_point Current() const {
        return clock_ != nullptr ? std::chrono::steady_clock::time_point(clock_->Now()) : now_;
    }

    TManualTickClock* clock_ = nullptr;
    // Far from the clock's epoch, so that no subtraction near it misleads.
    std::chrono::steady_clock::time_point start_ =
        std::chrono::steady_clock::time_point{} + std::chrono::hours(1000);
    std::chrono::steady_clock::time_point now_ = start_;
};

}  // namespace ornet5::test
