#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

#include "journal/journal_cursor.h"
#include "service/row_ledger.h"

namespace ornet5 {

// The history topic goes back no further than this.
inline constexpr std::chrono::days kLongestHistory{7};

// A row to send again, with its own seq.
struct TReplayRow {
    TJournalRow row;
    TRowMark mark;
};

// The rows a detector owes to the broker, read back from its journal
// after a reconnect: those after the acknowledged row up to the last row
// made before the reconnect, no older than kLongestHistory, oldest first.
// They are numbered back from the last row, so that the newest keeps its
// seq whatever the window or a damaged journal cut off. The work is done
// in steps of bounded size: the rows are counted first, then read again
// and handed out.
class THistoryReplay {
  public:
    THistoryReplay(const std::filesystem::path& journalFolder, const TRowMark& acknowledged,
                   const TRowMark& last, std::chrono::system_clock::time_point now);

    // Counts up to maxRows rows while counting, else hands out up to
    // maxRows rows; false once every row has been handed out.
    bool Step(std::size_t maxRows, std::vector<TReplayRow>& rows);
    // Once counted: every row up to this one is left out (given up); the
    // replay hands out the rows after it.
    std::optional<TRowMark> Floor() const;

  private:
    const std::filesystem::path folder_;
    const TRowMark last_;
    const std::chrono::system_clock::time_point from_;
    const std::chrono::system_clock::time_point until_;
    TJournalCursor counter_;
    std::uint64_t counted_ = 0;
    bool countDone_ = false;
    std::optional<TJournalCursor> reader_;
    std::uint64_t nextSeq_ = 0;
    std::vector<TJournalRow> batch_;
};

}  // namespace ornet5
