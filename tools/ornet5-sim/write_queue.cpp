#include "tools/ornet5-sim/write_queue.h"

#include <utility>

namespace ornet5 {

void TWriteQueue::Add(TClock::time_point due, std::string bytes) {
    pieces_.emplace(due, std::move(bytes));
}

std::optional<TWriteQueue::TClock::time_point> TWriteQueue::NextDue() const {
    if (pieces_.empty()) {
        return std::nullopt;
    }
    return pieces_.begin()->first;
}

std::vector<std::string> TWriteQueue::TakeDue(TClock::time_point now) {
    std::vector<std::string> due;
    const auto end = pieces_.upper_bound(now);
    for (auto it = pieces_.begin(); it != end; ++it) {
        due.push_back(std::move(it->second));
    }
    pieces_.erase(pieces_.begin(), end);
    return due;
}

}  // namespace ornet5
