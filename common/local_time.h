#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace ornet5 {

// A moment together with the local clock's offset from UTC in force at it,
// so that a written time says both when it was and what the wall clock
// showed, across daylight-saving changes and moves between time zones.
struct TLocalTime {
    std::chrono::system_clock::time_point utc;
    // Local time minus UTC: +03:00 is 180 minutes, -05:30 is -330.
    std::chrono::minutes utcOffset{0};

    friend bool operator==(const TLocalTime&, const TLocalTime&) = default;
};

// The calendar fields of a local time, milliseconds included.
struct TCivilTime {
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The moment with the offset that the user's time zone gives it (daylight
// saving included). Asks the OS; never fails: should the OS not know the
// offset, UTC (+00:00) is taken.
TLocalTime LocalTimeAt(std::chrono::system_clock::time_point moment);

// The wall clock's fields at the moment, in its own offset.
TCivilTime CivilTime(const TLocalTime& time);

// "2026-12-08T14:03:21.482+03:00": milliseconds always three digits (the
// moment is rounded down to a millisecond), the offset always as ±hh:mm,
// "+00:00" for UTC.
std::string LocalTimeText(const TLocalTime& time);

// Exactly LocalTimeText's shape: 29 characters, every field in range (the
// day exists in its month, hours below 24, offsets below 24:00, years 1900
// to 2200, which the system clock holds on every platform); anything else
// gives nothing. Never throws, reads no byte outside the text.
std::optional<TLocalTime> ParseLocalTimeText(std::string_view text);

}  // namespace ornet5
