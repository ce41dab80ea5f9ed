#include "journal/journal_statistics.h"

namespace ornet5 {

TJournalStatistics JournalStatistics(std::span<const TJournalPoint> points) {
    TJournalStatistics result;
    double sum = 0;
    for (const TJournalPoint& point : points) {
        if (IsFailedCycle(point.status)) {
            ++result.failedCycles;
        }
        if (!point.HasDose()) {
            continue;
        }
        const bool first = result.readings++ == 0;
        sum += point.dose;
        if (first || point.dose < result.minimum) {
            result.minimum = point.dose;
        }
        // Of equal maxima the earliest is named, in whatever order the
        // points come.
        if (first || point.dose > result.maximum ||
            (point.dose == result.maximum && point.utcMs < result.maximumUtcMs)) {
            result.maximum = point.dose;
            result.maximumUtcMs = point.utcMs;
        }
    }
    if (result.readings > 0) {
        result.mean = sum / static_cast<double>(result.readings);
    }
    return result;
}

}  // namespace ornet5
