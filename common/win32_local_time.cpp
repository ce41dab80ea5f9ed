#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "common/local_time.h"

namespace ornet5 {

namespace {

// FILETIME counts 100 ns ticks from 1601-01-01; the system clock counts
// from 1970-01-01.
constexpr std::int64_t kTicksFrom1601To1970 = 116444736000000000;
constexpr std::int64_t kTicksPerMinute = 600000000;

std::int64_t Ticks(const SYSTEMTIME& time) {
    FILETIME file{};
    ::SystemTimeToFileTime(&time, &file);
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(file.dwHighDateTime) << 32) |
                                     file.dwLowDateTime);
}

}  // namespace

// The zone's rules of the moment's own year, so that a past moment gets
// the offset that was in force then, not this year's.
TLocalTime LocalTimeAt(std::chrono::system_clock::time_point moment) {
    using std::chrono::duration_cast;
    const std::int64_t ticks =
        duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>>(
            moment.time_since_epoch())
            .count() +
        kTicksFrom1601To1970;
    if (ticks < 0) {
        return {moment, std::chrono::minutes{0}};
    }
    const FILETIME utcFile{static_cast<DWORD>(ticks & 0xffffffff), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    TIME_ZONE_INFORMATION zone{};
    if (!::FileTimeToSystemTime(&utcFile, &utc) ||
        !::GetTimeZoneInformationForYear(utc.wYear, nullptr, &zone) ||
        !::SystemTimeToTzSpecificLocalTime(&zone, &utc, &local)) {
        return {moment, std::chrono::minutes{0}};
    }
    // Both times are whole milliseconds apart by whole minutes; rounding
    // guards against the conversions' own truncation.
    const std::int64_t difference = Ticks(local) - Ticks(utc);
    const std::int64_t half = kTicksPerMinute / 2;
    const std::int64_t offset =
        (difference >= 0 ? difference + half : difference - half) / kTicksPerMinute;
    return {moment, std::chrono::minutes{offset}};
}

}  // namespace ornet5
