#include "journal/journal_row.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

namespace ornet5 {
namespace {

using namespace std::chrono;

TLocalTime Moscow(sys_days day, milliseconds sinceMidnightUtc) {
    return {time_point_cast<system_clock::duration>(day + sinceMidnightUtc), minutes{180}};
}

const TLocalTime kTime =
    Moscow(2026y / December / 8, hours{11} + minutes{3} + milliseconds{21'482});

// The line without its CRLF, as the reader hands it over.
std::string Line(const TJournalRow& row) {
    std::string text = JournalRowText(row);
    EXPECT_TRUE(text.ends_with("\r\n")) << text;
    text.resize(text.size() - 2);
    return text;
}

TEST(JournalRow, WritesOneCsvLinePerCycle) {
    EXPECT_EQ(JournalRowText({kTime, 0.123, TCycleStatus::Ok, "4.2.31", true}),
              "2026-12-08T14:03:21.482+03:00,0.123,ok,4.2.31,1\r\n");
    EXPECT_EQ(JournalRowText({kTime, std::nullopt, TCycleStatus::NoReply, "", false}),
              "2026-12-08T14:03:21.482+03:00,,no_reply,,0\r\n");
    EXPECT_EQ(Line({kTime, {}, TCycleStatus::Identified, "255.255.255", false}),
              "2026-12-08T14:03:21.482+03:00,,identified,255.255.255,0");
    // A detector text with a separator or a quote is quoted per RFC 4180.
    EXPECT_EQ(Line({kTime, {}, TCycleStatus::BadReply, "a,\"b", false}),
              "2026-12-08T14:03:21.482+03:00,,bad_reply,\"a,\"\"b\",0");
    // A dose that is no dose is written as none rather than as "nan".
    for (const double bad : {std::nan(""), HUGE_VAL, -0.5}) {
        EXPECT_EQ(Line({kTime, bad, TCycleStatus::Ok, "", false}),
                  "2026-12-08T14:03:21.482+03:00,,ok,,0");
    }
}

TEST(JournalRow, DoseReadsBackExactlyFromItsShortestText) {
    const struct {
        double dose;
        const char* text;
    } cases[] = {{0.123, "0.123"},
                 {1.5e-07, "1.5e-07"},
                 {0.1 + 0.2, "0.30000000000000004"},
                 {12345.678, "12345.678"},
                 {0, "0"},
                 {DBL_MAX, "1.7976931348623157e+308"},
                 {4.9406564584124654e-324, "5e-324"}};
    for (const auto& c : cases) {
        const std::string line = Line({kTime, c.dose, TCycleStatus::Ok, "1.2.3", false});
        EXPECT_EQ(line, std::string("2026-12-08T14:03:21.482+03:00,") + c.text + ",ok,1.2.3,0");
        const auto point = ParseJournalLine(line);
        ASSERT_TRUE(point) << line;
        EXPECT_EQ(std::memcmp(&point->dose, &c.dose, sizeof(double)), 0) << line;
    }
}

TEST(JournalRow, ReadsBackEveryField) {
    for (const TCycleStatus status :
         {TCycleStatus::Ok, TCycleStatus::Identified, TCycleStatus::NoReply, TCycleStatus::BadReply,
          TCycleStatus::Cancelled}) {
        const bool alarm = status == TCycleStatus::Cancelled;
        const auto point = ParseJournalLine(Line({kTime, {}, status, "x,\"y\"", alarm}));
        ASSERT_TRUE(point);
        EXPECT_EQ(point->utcMs, duration_cast<milliseconds>(kTime.utc.time_since_epoch()).count());
        EXPECT_EQ(point->status, status);
        EXPECT_EQ(point->alarm, alarm);
        EXPECT_FALSE(point->HasDose());
    }
}

TEST(JournalRow, ReadsBackWholeRowsAsWritten) {
    for (const TJournalRow& row :
         {TJournalRow{kTime, 0.123, TCycleStatus::Ok, "4.2.31", true},
          TJournalRow{kTime, std::nullopt, TCycleStatus::BadReply, "a,\"\"b\"", false}}) {
        EXPECT_EQ(ParseJournalRow(Line(row)), row) << Line(row);
    }
    EXPECT_FALSE(ParseJournalRow(Line({kTime, 1, TCycleStatus::Ok, "", false}) + ",0"));
}

TEST(JournalRow, RefusesAnythingThatIsNotARow) {
    const std::string time = "2026-12-08T14:03:21.482+03:00";
    for (const std::string& line : std::initializer_list<std::string>{
             "",
             "time,dose_uSv_h,status,detector,alarm",
             time + ",0.1,ok,4.2.31",
             time + ",0.1,ok,4.2.31,0,",
             "2026-12-08T14:03:21.482Z,0.1,ok,4.2.31,0",
             time + ",0.1x,ok,,0",
             time + ",-1,ok,,0",
             time + ",nan,ok,,0",
             time + ",1,OK,,0",
             time + ",1,ok,,2",
             time + ",1,ok,\"4.2.31,0",
             time + ",1,ok," + std::string(300, '1') + ",0",
             "2026-12-08T14:0",
         }) {
        EXPECT_FALSE(ParseJournalLine(line)) << line;
    }
}

TEST(JournalRow, FileIsNamedForTheMonthOnTheLocalClock) {
    EXPECT_EQ(JournalFileName(kTime), "ORNET5-2026-12.csv");
    // 22:00 UTC on 31 December is already January in Moscow.
    EXPECT_EQ(JournalFileName(Moscow(2026y / December / 31, hours{22})), "ORNET5-2027-01.csv");
    // 02:00 UTC on 1 January is still December in New York.
    const TLocalTime newYork{
        time_point_cast<system_clock::duration>(sys_days{2027y / January / 1} + hours{2}),
        minutes{-300}};
    EXPECT_EQ(JournalFileName(newYork), "ORNET5-2026-12.csv");
}

}  // namespace
}  // namespace ornet5
