#include "app/window_exchange_environment.h"

#include <utility>

namespace ornet5 {

TWindowExchangeEnvironment::TWindowExchangeEnvironment(std::function<bool()> escapeDown,
                                                       TPollValues& values)
    : escapeDown_(std::move(escapeDown)), values_(values) {}

bool TWindowExchangeEnvironment::EscapeDown() {
    return escapeDown_ && escapeDown_();
}

std::chrono::steady_clock::time_point TWindowExchangeEnvironment::Now() {
    return std::chrono::steady_clock::now();
}

void TWindowExchangeEnvironment::ShowStatus(const std::string& text) {
    values_.SetStatusText(text);
}

}  // namespace ornet5
