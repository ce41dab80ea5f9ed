#include "app/chart_time_ticks.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <string>

namespace ornet5 {

namespace {

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kHourMs = 60 * kMinuteMs;
constexpr std::int64_t kDayMs = 24 * kHourMs;

constexpr std::array<std::int64_t, 17> kTickIntervalsMs = {
    kMinuteMs,      2 * kMinuteMs, 5 * kMinuteMs, 10 * kMinuteMs, 15 * kMinuteMs, 20 * kMinuteMs,
    30 * kMinuteMs, kHourMs,       2 * kHourMs,   3 * kHourMs,    6 * kHourMs,    12 * kHourMs,
    kDayMs,         2 * kDayMs,    5 * kDayMs,    10 * kDayMs,    30 * kDayMs};

std::int64_t OffsetMs(const TUtcOffsetAt& offsetAt, std::int64_t utcMs) {
    const std::chrono::milliseconds offset = offsetAt(utcMs);
    if (offset.count() >= kDayMs || offset.count() <= -kDayMs) {
        throw EJournalChartError("Журнал доз: смещение местного времени от UTC больше суток");
    }
    return offset.count();
}

// The smallest multiple of step at or after value; step is positive.
std::int64_t CeilToMultiple(std::int64_t value, std::int64_t step) {
    const std::int64_t rest = value % step;  // negative for a negative value
    return rest > 0 ? value - rest + step : value - rest;
}

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return value % divisor < 0 ? quotient - 1 : quotient;
}

std::string TwoDigits(long long value) {
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) +
           static_cast<char>('0' + value % 10);
}

std::string DateText(std::int64_t localMs) {
    const std::chrono::year_month_day date{
        std::chrono::sys_days{std::chrono::days{FloorDiv(localMs, kDayMs)}}};
    return TwoDigits(static_cast<unsigned>(date.day())) + "." +
           TwoDigits(static_cast<unsigned>(date.month()));
}

std::string TimeOfDayText(std::int64_t localMs, bool withSeconds) {
    const std::int64_t msOfDay = localMs - FloorDiv(localMs, kDayMs) * kDayMs;
    std::string text = TwoDigits(msOfDay / kHourMs) + ":" + TwoDigits(msOfDay / kMinuteMs % 60);
    return withSeconds ? text + ":" + TwoDigits(msOfDay / 1000 % 60) : text;
}

std::string TickText(std::int64_t localMs, std::int64_t intervalMs) {
    if (intervalMs >= kDayMs || localMs % kDayMs == 0) {
        return DateText(localMs);
    }
    return TimeOfDayText(localMs, false);
}

// The first instant after known, whose offset is offset, where the offset
// is another; at probe it is.
std::int64_t FirstChangeAfter(std::int64_t known, std::int64_t probe, std::int64_t offset,
                              const TUtcOffsetAt& offsetAt) {
    while (probe - known > 1) {
        const std::int64_t middle = known + (probe - known) / 2;
        if (OffsetMs(offsetAt, middle) == offset) {
            known = middle;
        } else {
            probe = middle;
        }
    }
    return probe;
}

}  // namespace

std::int64_t TimeTickIntervalMs(std::int64_t spanMs, int widthPx) {
    // In doubles: the products of a long span and a wide chart may pass
    // the range of 64-bit integers, and exactness does not matter here.
    const double shortest = kMinTimeTickSpacingPx * static_cast<double>(spanMs) / widthPx;
    const auto interval = std::find_if(kTickIntervalsMs.begin(), kTickIntervalsMs.end(),
                                       [&](std::int64_t ms) { return ms >= shortest; });
    return interval != kTickIntervalsMs.end() ? *interval : kTickIntervalsMs.back();
}

std::vector<TTimeTick> LocalTimeTicks(std::int64_t beginUtcMs, std::int64_t endUtcMs,
                                      std::int64_t intervalMs, const TUtcOffsetAt& offsetAt) {
    std::vector<TTimeTick> ticks;
    std::int64_t offset = OffsetMs(offsetAt, beginUtcMs);
    std::int64_t known = beginUtcMs;  // an instant whose offset is offset
    std::int64_t from = beginUtcMs;   // the next tick lies here or later
    while (from <= endUtcMs) {
        const std::int64_t localMs = CeilToMultiple(from + offset, intervalMs);
        const std::int64_t utcMs = localMs - offset;
        const std::int64_t probe = std::min(utcMs, endUtcMs);
        if (OffsetMs(offsetAt, probe) != offset) {
            // Ticks from the change on are counted in the new local time.
            from = known = FirstChangeAfter(known, probe, offset, offsetAt);
            offset = OffsetMs(offsetAt, from);
            continue;
        }
        if (utcMs > endUtcMs) {
            break;
        }
        ticks.push_back({utcMs, TickText(localMs, intervalMs)});
        known = utcMs;
        from = utcMs + 1;
    }
    return ticks;
}

std::string LocalDateText(std::int64_t utcMs, const TUtcOffsetAt& offsetAt) {
    return DateText(utcMs + OffsetMs(offsetAt, utcMs));
}

std::string LocalTimeOfDayText(std::int64_t utcMs, const TUtcOffsetAt& offsetAt, bool withSeconds) {
    return TimeOfDayText(utcMs + OffsetMs(offsetAt, utcMs), withSeconds);
}

}  // namespace ornet5
