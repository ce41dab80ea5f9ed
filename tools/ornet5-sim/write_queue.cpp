#include "tools/ornet5-sim/write_queue.h"

#include <utility>

namespace ornet5 {

void TWriteQueue::Add(TClock::time_point due, std::string bytes) {
    pieces_.push_back({due, std::move(bytes)});
}

std::optional<TWriteQueue::TClock::time_point> TWriteQueue::NextDue() const {
    if (pieces_.empty()) {
        return std::nullopt;
    }
    return pieces_.front().due;
}

std::vector<std::string> TWriteQueue::TakeDue(TClock::time_point now) {
    std::vector<std::string> due;
    while (!pieces_.empty() && pieces_.front().due <= now) {
        due.push_back(std::move(pieces_.front().bytes));
        pieces_.pop_front();
    }
    return due;
}

}  // namespace ornet5
