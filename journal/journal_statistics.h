#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "journal/journal_row.h"

namespace ornet5 {

// What the journal window states about a span of rows.
struct TJournalStatistics {
    // Rows with a dose reading.
    std::size_t readings = 0;
    // Cycles that failed: no reply, a bad reply, a cancel.
    std::size_t failedCycles = 0;
    // µSv/h; meaningful only when readings > 0 (else 0).
    double minimum = 0;
    double mean = 0;
    double maximum = 0;
    // UTC milliseconds of the first row that reached the maximum.
    std::int64_t maximumUtcMs = 0;
    // µSv: what a person staying at the detector received, as far as the
    // rows have readings. Each reading counts for the time until the next
    // row, at most kLongestReadingSpanMs, so failed cycles and gaps in the
    // journal add nothing; the last reading waits for its next row.
    double accumulatedDose = 0;
};

// Two poll cycles: one late cycle still counts, a stopped program not.
inline constexpr std::int64_t kLongestReadingSpanMs = 6000;

// One pass over the points in time order (as ReadJournalSpan gives them);
// only the accumulated dose depends on the order.
TJournalStatistics JournalStatistics(std::span<const TJournalPoint> points);

}  // namespace ornet5
