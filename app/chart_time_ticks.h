#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/exception.h"

namespace ornet5 {

// Input the journal chart cannot be drawn from: an empty span, a size or a
// unit factor out of range, a threshold that is no dose, a local time
// offset beyond a day.
class EJournalChartError : public Exception {
  public:
    using Exception::Exception;
};

// The local time's offset from UTC in force at a UTC instant (milliseconds
// since 1970), daylight saving time included.
using TUtcOffsetAt = std::function<std::chrono::minutes(std::int64_t utcMs)>;

// A tick of the time axis: a round local time and its label.
struct TTimeTick {
    std::int64_t utcMs = 0;
    std::string label;
};

// Labels are this far apart at least, so that "14:30" or "08.12" stay
// readable with a gap between them.
inline constexpr int kMinTimeTickSpacingPx = 70;

// The shortest of the round intervals (1, 2, 5, 10, 15, 20, 30 minutes; 1,
// 2, 3, 6, 12 hours; 1, 2, 5, 10, 30 days) whose ticks lie at least
// kMinTimeTickSpacingPx apart when spanMs is drawn over widthPx pixels;
// the longest one when none is that long. Both arguments are positive.
std::int64_t TimeTickIntervalMs(std::int64_t spanMs, int widthPx);

// The ticks in [beginUtcMs, endUtcMs] at the local times that are whole
// multiples of intervalMs counted from 1970-01-01 00:00 local time: round
// hours, local midnights, every fifth day. Each stretch of one UTC offset
// gets its own ticks, so across a change of offset the local times still
// come out round; a local time skipped by the change has no tick, one that
// happens twice has two. A change is found where it falls between two ticks
// (or between the last tick and the span's end); offsets that change and
// change back between two ticks go unseen.
// Labels: "HH:MM" for intervals shorter than a day, except at local
// midnight, which is labelled with its date; "DD.MM" for days.
// intervalMs is positive. Throws EJournalChartError when offsetAt gives an
// offset of a day or more.
std::vector<TTimeTick> LocalTimeTicks(std::int64_t beginUtcMs, std::int64_t endUtcMs,
                                      std::int64_t intervalMs, const TUtcOffsetAt& offsetAt);

// Local date "DD.MM" and local time "HH:MM" or "HH:MM:SS" of a UTC instant.
std::string LocalDateText(std::int64_t utcMs, const TUtcOffsetAt& offsetAt);
std::string LocalTimeOfDayText(std::int64_t utcMs, const TUtcOffsetAt& offsetAt, bool withSeconds);

}  // namespace ornet5
