#include "common/local_time.h"

#include <gtest/gtest.h>

namespace ornet5 {
namespace {

using namespace std::chrono;

TLocalTime At(sys_days day, milliseconds sinceMidnightUtc, minutes offset) {
    return {time_point_cast<system_clock::duration>(day + sinceMidnightUtc), offset};
}

TEST(LocalTimeText, ShowsTheLocalClockWithMillisecondsAndOffset) {
    const sys_days day = 2026y / December / 8;
    // 11:03:21.482 UTC is 14:03:21.482 in Moscow.
    EXPECT_EQ(LocalTimeText(
                  At(day, hours{11} + minutes{3} + seconds{21} + milliseconds{482}, minutes{180})),
              "2026-12-08T14:03:21.482+03:00");
    // A negative half-hour offset moves the local date back a day.
    EXPECT_EQ(LocalTimeText(At(day, hours{2} + milliseconds{7}, minutes{-330})),
              "2026-12-07T20:30:00.007-05:30");
    EXPECT_EQ(LocalTimeText(At(day, milliseconds{0}, minutes{0})), "2026-12-08T00:00:00.000+00:00");
    // Below a millisecond is cut, never rounded up into the next second.
    const TLocalTime almost{sys_days{day} + seconds{1} - nanoseconds{1}, minutes{0}};
    EXPECT_EQ(LocalTimeText(almost), "2026-12-08T00:00:00.999+00:00");
}

TEST(LocalTimeText, ReadsBackToTheSameMomentAndOffset) {
    for (const minutes offset : {minutes{180}, minutes{-330}, minutes{0}, minutes{845}}) {
        const TLocalTime time = At(2024y / February / 29, hours{23} + milliseconds{59'999}, offset);
        const auto parsed = ParseLocalTimeText(LocalTimeText(time));
        ASSERT_TRUE(parsed) << LocalTimeText(time);
        EXPECT_EQ(*parsed, time);
    }
}

TEST(LocalTimeText, RefusesEveryOtherShape) {
    for (const char* text : {
             "",
             "2026-12-08T14:03:21.482+03:000",
             "2026-12-08T14:03:21.482Z",
             "2026-12-08 14:03:21.482+03:00",
             "2026-02-29T14:03:21.482+03:00",
             "2026-12-08T24:00:00.000+03:00",
             "2026-12-08T14:03:60.482+03:00",
             "2026-12-08T14:03:21.482+24:00",
             "2026-12-08T14:03:21.48a+03:00",
             "1899-12-31T23:59:59.999+00:00",
             "+026-12-08T14:03:21.482+03:00",
         }) {
        EXPECT_FALSE(ParseLocalTimeText(text)) << text;
    }
}

// The test runs with TZ=EST5EDT,M3.2.0,M11.1.0 (see CMakeLists.txt): New
// York's rules, daylight saving from March to November.
TEST(LocalTimeAt, TakesTheOffsetInForceAtThatMoment) {
    const auto winter = time_point_cast<system_clock::duration>(sys_days{2026y / January / 15});
    const auto summer = time_point_cast<system_clock::duration>(sys_days{2026y / July / 15});
    EXPECT_EQ(LocalTimeAt(winter).utcOffset, minutes{-300});
    EXPECT_EQ(LocalTimeAt(summer).utcOffset, minutes{-240});
    EXPECT_EQ(LocalTimeAt(summer).utc, summer);
}

}  // namespace
}  // namespace ornet5
