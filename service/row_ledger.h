#pragma once

#include <chrono>
#include <cstdint>
#include <map>

namespace ornet5 {

// A row's time as its mark keeps it: whole milliseconds since 1970, UTC.
inline std::int64_t UtcMs(std::chrono::system_clock::time_point time) {
    return std::chrono::floor<std::chrono::milliseconds>(time).time_since_epoch().count();
}
inline std::chrono::system_clock::time_point UtcMsTime(std::int64_t utcMs) {
    return std::chrono::system_clock::time_point{
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::milliseconds{utcMs})};
}

// A row of a detector as the MQTT publisher counts it: its seq (the
// number of that detector's rows up to it, the first being 1) and its
// time, UTC milliseconds since 1970. Seq 0 stands before the first row.
struct TRowMark {
    std::uint64_t seq = 0;
    std::int64_t utcMs = 0;

    friend bool operator==(const TRowMark&, const TRowMark&) = default;
};

// What the publisher keeps of a detector across restarts.
struct TLedgerState {
    // The last row numbered.
    TRowMark assigned;
    // Every row up to this one is on the broker (or was given up): the
    // rows after its time are still owed.
    TRowMark acknowledged;

    friend bool operator==(const TLedgerState&, const TLedgerState&) = default;
};

// The seq and delivery bookkeeping of one detector's rows: numbers each
// new row, follows each publish of a row until the broker acknowledges it,
// and keeps the acknowledged mark at the last row before which nothing is
// missing. A row that was never published (made while the broker was
// away) holds the mark until a replay publishes it or gives it up, so the
// mark never passes a row the broker has not got. Publishes may be
// acknowledged in any order, and a row may be published twice (live and
// replayed, or resent by the client after a reconnect): the first
// acknowledgement counts.
class TRowLedger {
  public:
    explicit TRowLedger(TLedgerState state = {}) : state_(state) {}

    // The next row's seq, for a row of that time.
    TRowMark Assign(std::int64_t utcMs);
    // A publish of the row is under way. A row at or below the
    // acknowledged mark is already done and is not followed again.
    void Published(const TRowMark& row);
    // The broker has the row. Unknown rows (done already) are ignored.
    void Acknowledged(std::uint64_t seq);
    // The rows up to mark will never be sent (the journal no longer holds
    // them, or they are older than any replay goes back): the mark moves
    // up to it, and what followed it may count from there.
    void GiveUpTo(const TRowMark& mark);
    // The connection broke: publishes not yet acknowledged may never be,
    // so their rows are owed again (an acknowledgement that still comes
    // for one is ignored until it is published again).
    void ForgetUnacknowledged();

    const TLedgerState& State() const { return state_; }
    // Rows after the acknowledged mark that are neither published nor
    // acknowledged: a replay still owes them.
    bool Owes() const;

  private:
    // Moves the acknowledged mark over the acknowledged rows that follow it.
    void Advance();

    struct TFollowed {
        std::int64_t utcMs = 0;
        bool acknowledged = false;
    };

    TLedgerState state_;
    // Rows above the acknowledged mark that were published, by seq.
    std::map<std::uint64_t, TFollowed> followed_;
};

}  // namespace ornet5
