#include "journal/journal_reader.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

using namespace std::chrono;
using test::TTempFolder;
using test::WriteAll;

const std::string kHeader(kJournalHeader);

system_clock::time_point At(sys_days day, minutes sinceMidnightUtc) {
    return time_point_cast<system_clock::duration>(day + sinceMidnightUtc);
}

std::int64_t Ms(system_clock::time_point time) {
    return duration_cast<milliseconds>(time.time_since_epoch()).count();
}

std::string RowAt(system_clock::time_point time, double dose, minutes offset = minutes{180}) {
    return JournalRowText({{time, offset}, dose, TCycleStatus::Ok, "4.2.31", false});
}

TEST(JournalReader, ReadsTheSpanFromTheMonthFilesInTimeOrder) {
    TTempFolder temp;
    const sys_days nov30 = 2026y / November / 30;
    const sys_days dec1 = 2026y / December / 1;
    // 22:00 UTC on 30 November is December in Moscow, and still November
    // in New York: the same moment lies in either month's file.
    WriteAll(temp.Path() / "ORNET5-2026-11.csv", kHeader + RowAt(At(nov30, hours{20}), 1) +
                                                     RowAt(At(nov30, hours{23}), 4, minutes{-300}));
    // Two writers' rows interleave out of order.
    WriteAll(temp.Path() / "ORNET5-2026-12.csv",
             kHeader + RowAt(At(nov30, hours{22}), 3) + RowAt(At(nov30, hours{21}), 2) +
                 RowAt(At(dec1, hours{1}), 5) + RowAt(At(dec1, hours{2}), 6));
    const TJournalSpan span =
        ReadJournalSpan(temp.Path(), At(nov30, hours{21}), At(dec1, hours{1}));
    EXPECT_EQ(span.skippedLines, 0u);
    EXPECT_TRUE(span.unreadableFiles.empty());
    ASSERT_EQ(span.points.size(), 4u);
    for (std::size_t i = 0; i < span.points.size(); ++i) {
        EXPECT_EQ(span.points[i].dose, static_cast<double>(i + 2));
    }
    EXPECT_EQ(span.points.front().utcMs, Ms(At(nov30, hours{21})));
    EXPECT_EQ(span.points.back().utcMs, Ms(At(dec1, hours{1})));
}

TEST(JournalReader, SkipsAndCountsLinesThatAreNotRows) {
    TTempFolder temp;
    const sys_days day = 2026y / December / 8;
    const std::string good = RowAt(At(day, hours{1}), 0.5);
    // Longer than several read chunks, so that it is cut across them.
    const std::string endless(3 << 20, '7');
    WriteAll(temp.Path() / "ORNET5-2026-12.csv",
             kHeader + good + good.substr(0, 20) + "\r\n" + "hello,world\r\n" + kHeader +
                 std::string("\0\0\xff,,,,\r\n", 9) + endless + "\r\n" + good + "\r\n" +
                 good.substr(0, good.size() - 2));
    const TJournalSpan span = ReadJournalSpan(temp.Path(), sys_days{day}, sys_days{day + days{1}});
    // The torn row, the foreign line, the stray header, the binary line,
    // the endless line and the empty line; the last row lacks only its end.
    EXPECT_EQ(span.skippedLines, 6u);
    EXPECT_EQ(span.points.size(), 3u);
}

TEST(JournalReader, ChoosesTheMonthFilesThatCanHoldTheSpan) {
    const auto names = [](sys_days from, sys_days to) {
        return JournalFileNames(At(from, {}), At(to, {}));
    };
    // Thirty days back from 20 December.
    EXPECT_EQ(names(2026y / November / 20, 2026y / December / 20),
              (std::vector<std::string>{"ORNET5-2026-11.csv", "ORNET5-2026-12.csv"}));
    // A span starting on the 1st may hold rows of the last evening before
    // on a clock behind UTC.
    EXPECT_EQ(names(2027y / January / 1, 2027y / January / 5),
              (std::vector<std::string>{"ORNET5-2026-12.csv", "ORNET5-2027-01.csv"}));
    EXPECT_TRUE(names(2027y / January / 5, 2027y / January / 1).empty());
}

TEST(JournalReader, NamesAFileThatCannotBeRead) {
    TTempFolder temp;
    std::filesystem::create_directory(temp.Path() / "ORNET5-2026-12.csv");
    const sys_days day = 2026y / December / 8;
    const TJournalSpan span = ReadJournalSpan(temp.Path(), sys_days{day}, sys_days{day + days{1}});
    EXPECT_EQ(span.unreadableFiles,
              std::vector<std::filesystem::path>{temp.Path() / "ORNET5-2026-12.csv"});
    EXPECT_TRUE(span.points.empty());
}

}  // namespace
}  // namespace ornet5
