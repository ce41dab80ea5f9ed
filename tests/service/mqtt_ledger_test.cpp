// The MQTT publisher's seq bookkeeping and its journal replay: the edge
// cases that an end-to-end run rarely meets.
#include <gtest/gtest.h>

#include "journal/journal_writer.h"
#include "service/history_replay.h"
#include "service/ledger_file.h"
#include "service/row_ledger.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

using namespace std::chrono;
namespace fs = std::filesystem;

TEST(RowLedger, TheAcknowledgedMarkNeverPassesARowTheBrokerHasNot) {
    TRowLedger ledger({{4, 400}, {4, 400}});
    const TRowMark five = ledger.Assign(500);
    const TRowMark six = ledger.Assign(600);
    const TRowMark seven = ledger.Assign(700);
    EXPECT_EQ(seven, (TRowMark{7, 700}));
    // Five was made while the broker was away: never published.
    ledger.Published(six);
    ledger.Published(seven);
    ledger.Acknowledged(7);
    ledger.Acknowledged(6);
    EXPECT_EQ(ledger.State().acknowledged, (TRowMark{4, 400}));
    EXPECT_TRUE(ledger.Owes());
    // The replay sends it; a second publish of six changes nothing.
    ledger.Published(five);
    ledger.Published(six);
    EXPECT_FALSE(ledger.Owes());
    ledger.Acknowledged(5);
    EXPECT_EQ(ledger.State().acknowledged, seven);
    ledger.Acknowledged(6);  // late, from the second publish
    EXPECT_EQ(ledger.State(), (TLedgerState{seven, seven}));

    // In flight when the connection broke: owed again.
    const TRowMark eight = ledger.Assign(800);
    ledger.Published(eight);
    EXPECT_FALSE(ledger.Owes());
    ledger.ForgetUnacknowledged();
    EXPECT_TRUE(ledger.Owes());
    ledger.Acknowledged(8);  // its old publish: not counted
    EXPECT_EQ(ledger.State().acknowledged, seven);

    // Rows out of any replay's reach are given up; what follows counts.
    const TRowMark nine = ledger.Assign(900);
    ledger.Published(nine);
    ledger.Acknowledged(9);
    ledger.GiveUpTo({8, 750});
    EXPECT_EQ(ledger.State().acknowledged, nine);
}

class MqttJournal : public ::testing::Test {
  protected:
    // A row every 3 s from start on, count rows; their UTC milliseconds.
    std::vector<std::int64_t> WriteRows(system_clock::time_point start, int count) {
        std::ostringstream diagnostics;
        TJournalWriter writer(folder_.Path(), diagnostics, SystemJournalDisk(), {false});
        std::vector<std::int64_t> times;
        for (int i = 0; i < count; ++i) {
            const auto time = floor<milliseconds>(start + seconds(3 * i));
            writer.Append(
                {{time, minutes{180}}, 0.1 * i, TCycleStatus::Ok, "4.2.\"31\",", i % 2 == 1});
            times.push_back(time.time_since_epoch().count());
        }
        return times;
    }

    test::TTempFolder folder_;
};

TEST_F(MqttJournal, RecoveryCountsTheRowsAfterTheStoredOneOrAllWithoutAFile) {
    const auto times = WriteRows(system_clock::now() - hours(1), 10);
    // No file: every row is counted, and none is owed.
    TRecoveredLedger recovered = RecoverLedger(folder_.Path());
    EXPECT_EQ(recovered.state, (TLedgerState{{10, times[9]}, {10, times[9]}}));
    EXPECT_TRUE(recovered.problem.empty());
    // Written at row 6 (seq 106), killed at row 10.
    ASSERT_TRUE(WriteLedgerFile(folder_.Path(), {{106, times[5]}, {103, times[2]}}));
    recovered = RecoverLedger(folder_.Path());
    EXPECT_EQ(recovered.state, (TLedgerState{{110, times[9]}, {103, times[2]}}));
    test::WriteAll(LedgerFile(folder_.Path()), "damaged");
    recovered = RecoverLedger(folder_.Path());
    EXPECT_EQ(recovered.state.assigned.seq, 10u);
    EXPECT_FALSE(recovered.problem.empty());
    // One that cannot be read at all is counted anew just as well.
    fs::remove(LedgerFile(folder_.Path()));
    fs::create_directory(LedgerFile(folder_.Path()));
    recovered = RecoverLedger(folder_.Path());
    EXPECT_EQ(recovered.state.assigned.seq, 10u);
    EXPECT_FALSE(recovered.problem.empty());
}

TEST(LedgerText, OnlyItsOwnWholeShapeReadsBack) {
    const TLedgerState state{{7, 700}, {5, 500}};
    const std::string text = LedgerText(state);
    EXPECT_EQ(ParseLedgerText(text), state);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string changed = text;
        return changed.replace(changed.find(from), from.size(), to);
    };
    for (const std::string& bad : {
             text.substr(0, text.size() - 1),
             text + "x",
             text + text,
             LedgerText({state.acknowledged, state.assigned}),
             replaced("7 700", "-7 700"),
             replaced("7 700", "99999999999999999999 700"),
             replaced("5 500", "5 5x0"),
             std::string(),
         }) {
        EXPECT_FALSE(ParseLedgerText(bad)) << bad;
    }
}

TEST_F(MqttJournal, AReplayGoesBackSevenDaysAtMostNumberingBackFromTheLastRow) {
    const auto now = system_clock::now();
    // Two rows older than the window, then 50 within it.
    std::vector<std::int64_t> times = WriteRows(now - kLongestHistory - minutes(1), 2);
    const auto recent = WriteRows(now - minutes(10), 50);
    times.insert(times.end(), recent.begin(), recent.end());
    const TRowMark last{1052, times.back()};
    THistoryReplay replay(folder_.Path(), {990, times[0] - 1000}, last, now);
    std::vector<TReplayRow> rows;
    while (replay.Step(7, rows)) {
    }
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_EQ(
        replay.Floor(),
        (TRowMark{
            1002,
            duration_cast<milliseconds>((now - kLongestHistory).time_since_epoch()).count()}));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].mark, (TRowMark{1003 + i, recent[i]}));
        EXPECT_EQ(rows[i].row.detector, "4.2.\"31\",");
    }
    // Acknowledged up to the 40th recent row: the other ten, with their own seqs.
    THistoryReplay rest(folder_.Path(), {1042, recent[39]}, last, now);
    rows.clear();
    while (rest.Step(100, rows)) {
    }
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows.front().mark, (TRowMark{1043, recent[40]}));
    EXPECT_EQ(rest.Floor(), (TRowMark{1042, recent[39]}));
}

}  // namespace
}  // namespace ornet5
