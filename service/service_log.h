#pragma once

#include <iostream>
#include <mutex>
#include <string_view>

namespace ornet5 {

// The service's log: whole lines on standard error, which the systemd
// journal takes line by line, from any thread without two lines running
// into each other.
class TServiceLog {
  public:
    explicit TServiceLog(std::ostream& out = std::cerr) : out_(out) {}

    void Line(std::string_view text) {
        const std::lock_guard lock(mutex_);
        out_ << text << std::endl;
    }

  private:
    std::mutex mutex_;
    std::ostream& out_;
};

}  // namespace ornet5
