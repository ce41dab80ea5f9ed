#include "journal/journal_statistics.h"

#include <algorithm>

namespace ornet5 {

namespace {

constexpr double kMsPerHour = 3'600'000;

}  // namespace

TJournalStatistics JournalStatistics(std::span<const TJournalPoint> points) {
    TJournalStatistics result;
    double sum = 0;
    // µSv/h times milliseconds.
    double doseSum = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TJournalPoint& point = points[i];
        if (IsFailedCycle(point.status)) {
            ++result.failedCycles;
        }
        if (!point.HasDose()) {
            continue;
        }
        if (i + 1 < points.size()) {
            doseSum +=
                point.dose * static_cast<double>(std::clamp<std::int64_t>(
                                 points[i + 1].utcMs - point.utcMs, 0, kLongestReadingSpanMs));
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
    result.accumulatedDose = doseSum / kMsPerHour;
    return result;
}

}  // namespace ornet5
