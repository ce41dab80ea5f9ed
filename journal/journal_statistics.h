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
};

// One pass over the points, in any order.
TJournalStatistics JournalStatistics(std::span<const TJournalPoint> points);

}  // namespace ornet5
