#include "service/row_ledger.h"

namespace ornet5 {

TRowMark TRowLedger::Assign(std::int64_t utcMs) {
    state_.assigned = {state_.assigned.seq + 1, utcMs};
    return state_.assigned;
}

void TRowLedger::Published(const TRowMark& row) {
    if (row.seq > state_.acknowledged.seq) {
        followed_.try_emplace(row.seq, TFollowed{row.utcMs, false});
    }
}

void TRowLedger::Acknowledged(std::uint64_t seq) {
    const auto row = followed_.find(seq);
    if (row != followed_.end()) {
        row->second.acknowledged = true;
        Advance();
    }
}

void TRowLedger::GiveUpTo(const TRowMark& mark) {
    if (mark.seq <= state_.acknowledged.seq) {
        return;
    }
    state_.acknowledged = mark;
    followed_.erase(followed_.begin(), followed_.upper_bound(mark.seq));
    Advance();
}

void TRowLedger::Advance() {
    for (auto row = followed_.begin();
         row != followed_.end() && row->first == state_.acknowledged.seq + 1 &&
         row->second.acknowledged;
         row = followed_.erase(row)) {
        state_.acknowledged = {row->first, row->second.utcMs};
    }
}

void TRowLedger::ForgetUnacknowledged() {
    std::erase_if(followed_, [](const auto& row) { return !row.second.acknowledged; });
}

bool TRowLedger::Owes() const {
    // The followed rows hold no gap below the assigned row only when they
    // are exactly the rows after the mark.
    return state_.acknowledged.seq + followed_.size() < state_.assigned.seq;
}

}  // namespace ornet5
