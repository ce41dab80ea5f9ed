#pragma once

#include <cmath>
#include <cstdint>

namespace ornet5 {

// How a poll cycle ended, as the journal records it.
enum class TJournalStatus : std::uint8_t {
    Ok,          // a reading
    Identified,  // the detector answered the identify request
    NoReply,     // not one byte came back
    BadReply,    // bytes came, but no valid reply
    Cancelled,   // the user's Escape
};

// One journal row as it is kept in memory when spans are read back: compact,
// because a window over 30 days holds about 860 000 of them.
struct TJournalSample {
    // The cycle's end, UTC milliseconds since 1970-01-01.
    std::int64_t utcMs = 0;
    // The reading in µSv/h; NaN when the cycle brought none.
    double dose = NAN;
    TJournalStatus status = TJournalStatus::NoReply;
    // Whether the alarm was on after this cycle.
    bool alarm = false;

    bool HasReading() const { return !std::isnan(dose); }
};

}  // namespace ornet5
