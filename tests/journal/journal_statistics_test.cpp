#include "journal/journal_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace ornet5 {
namespace {

TJournalPoint Point(std::int64_t utcMs, double dose, TCycleStatus status = TCycleStatus::Ok) {
    return {utcMs, dose, status, false};
}

TEST(JournalStatistics, SummarisesReadingsAndFailedCycles) {
    const double none = std::nan("");
    const std::vector<TJournalPoint> points = {
        Point(5000, 0.25),
        Point(1000, 0.5),
        Point(2000, none, TCycleStatus::NoReply),
        Point(3000, none, TCycleStatus::BadReply),
        Point(4000, none, TCycleStatus::Cancelled),
        Point(4500, none, TCycleStatus::Identified),
        // Equal maxima: the earlier time is named, whatever the order.
        Point(9000, 0.75),
        Point(6000, 0.75),
    };
    const TJournalStatistics statistics = JournalStatistics(points);
    EXPECT_EQ(statistics.readings, 4u);
    EXPECT_EQ(statistics.failedCycles, 3u);
    EXPECT_EQ(statistics.minimum, 0.25);
    EXPECT_EQ(statistics.mean, 0.5625);
    EXPECT_EQ(statistics.maximum, 0.75);
    EXPECT_EQ(statistics.maximumUtcMs, 6000);
    // Without readings there are no values to state.
    EXPECT_EQ(JournalStatistics(std::span(points).subspan(2, 4)).readings, 0u);
    EXPECT_EQ(JournalStatistics(std::span(points).subspan(2, 4)).mean, 0);
}

}  // namespace
}  // namespace ornet5
