#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "common/local_time.h"
#include "measure/cycle_outcome.h"

namespace ornet5 {

// One poll cycle as it is appended to the journal.
struct TJournalRow {
    TLocalTime time;
    // µSv/h; none when the cycle brought no reading. A value that is not
    // finite or is negative is written as none.
    std::optional<double> dose;
    TCycleStatus status = TCycleStatus::NoReply;
    // The answering address such as "4.2.31"; empty when none. Cut to
    // kMaxDetectorLength bytes so that every row stays readable.
    std::string detector;
    // The alarm is on after this cycle.
    bool alarm = false;

    friend bool operator==(const TJournalRow&, const TJournalRow&) = default;
};

// The row's dose as the journal writes it: none when it has none or one
// that is not finite or is negative.
std::optional<double> WrittenDose(const TJournalRow& row);

// One row as it is read back: compact, for spans of a month's rows.
struct TJournalPoint {
    // UTC milliseconds since 1970-01-01.
    std::int64_t utcMs = 0;
    // µSv/h; NaN when the cycle brought no reading.
    double dose = std::numeric_limits<double>::quiet_NaN();
    TCycleStatus status = TCycleStatus::NoReply;
    bool alarm = false;

    bool HasDose() const { return !std::isnan(dose); }
};

// The CSV file's first line (RFC 4180, UTF-8, CRLF line ends).
inline constexpr std::string_view kJournalHeader = "time,dose_uSv_h,status,detector,alarm\r\n";
inline constexpr std::size_t kMaxDetectorLength = 64;
// The longest line the reader takes for a row: a written row is at most
// about 200 bytes, with a detector of quotes only.
inline constexpr std::size_t kMaxJournalLineLength = 256;

// The journal's name of a cycle's status: "ok", "identified", "no_reply",
// "bad_reply" or "cancelled".
std::string_view CycleStatusName(TCycleStatus status);

// The row's line, CRLF included: "2026-12-08T14:03:21.482+03:00,0.123,ok,
// 4.2.31,0". The dose is the shortest text that reads back to the same
// double, with '.' whatever the locale; the detector is quoted when it
// holds a comma, a quote or a line break.
std::string JournalRowText(const TJournalRow& row);

// A line of a journal file without its line end (a CR before the LF is
// allowed): the point, or nothing when the line is not a valid row (wrong
// field count, bad time, bad or negative number, unknown status, the
// header). Never throws, reads no byte outside the line.
std::optional<TJournalPoint> ParseJournalLine(std::string_view line);

// The same line read back whole, the detector's address unquoted: the row
// as it was written (a dose written as none is none).
std::optional<TJournalRow> ParseJournalRow(std::string_view line);

// The monthly file that holds a row of this local time:
// "ORNET5-2026-12.csv" for any time in December 2026 on the local clock.
std::string JournalFileName(const TLocalTime& time);
std::string JournalFileName(int year, unsigned month);

}  // namespace ornet5
