#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace ornet5 {

// Reply pieces waiting for their moment: a late reply and the second half of
// a split reply are written later while the line keeps being read.
//
// Pieces leave in the order they were added, as a detector sends its replies
// one after the other: a piece that falls due while an earlier one still
// waits goes right after it. Otherwise the first half of a retried reply
// could overtake the second half of the previous one.
class TWriteQueue {
  public:
    using TClock = std::chrono::steady_clock;

    void Add(TClock::time_point due, std::string bytes);

    // When the piece at the front falls due; nothing behind it can leave
    // earlier.
    std::optional<TClock::time_point> NextDue() const;

    // Removes and returns the pieces from the front that are due at or
    // before now, in the order they were added.
    std::vector<std::string> TakeDue(TClock::time_point now);

  private:
    struct TPiece {
        TClock::time_point due;
        std::string bytes;
    };

    std::deque<TPiece> pieces_;
};

}  // namespace ornet5
