#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "link/exchange.h"

namespace ornet5::test {

// The exchange environment of a real run: the steady clock, an Escape key
// that the test presses at chosen attempt starts, and status texts passed on.
class TSteadyEnvironment : public TExchangeEnvironment {
  public:
    bool EscapeDown() override { return escapeDown && escapeDown(); }
    std::chrono::steady_clock::time_point Now() override {
        return std::chrono::steady_clock::now();
    }
    void ShowStatus(const std::string& text) override {
        if (onStatus) {
            onStatus(text);
        }
    }

    std::function<bool()> escapeDown;
    std::function<void(const std::string&)> onStatus;
};

}  // namespace ornet5::test
