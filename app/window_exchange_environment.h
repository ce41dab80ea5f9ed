#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "link/exchange.h"
#include "measure/poll_values.h"

namespace ornet5 {

// What the exchange needs from outside, as the settings window offers it:
// the program's Escape key state, the steady clock, and the status bar.
class TWindowExchangeEnvironment : public TExchangeEnvironment {
  public:
    TWindowExchangeEnvironment(std::function<bool()> escapeDown, TPollValues& values);

    bool EscapeDown() override;
    std::chrono::steady_clock::time_point Now() override;
    void ShowStatus(const std::string& text) override;

  private:
    std::function<bool()> escapeDown_;
    TPollValues& values_;
};

}  // namespace ornet5
