#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ornet5 {

// Reply pieces waiting for their moment: a late reply and the second half of
// a split reply are written later while the line keeps being read.
class TWriteQueue {
  public:
    using TClock = std::chrono::steady_clock;

    // Pieces due at the same moment leave in the order they were added.
    void Add(TClock::time_point due, std::string bytes);

    std::optional<TClock::time_point> NextDue() const;

    // Removes and returns every piece due at or before now, oldest first.
    std::vector<std::string> TakeDue(TClock::time_point now);

  private:
    std::multimap<TClock::time_point, std::string> pieces_;
};

}  // namespace ornet5
