#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "journal/journal_row.h"

namespace ornet5 {

// A journal folder's rows of a span of time, read whole and in the order
// of the files (the order one writer appended them in), a batch at a time:
// for sending rows again that were made while nobody could take them, and
// for counting a detector's rows. Between batches the file stays open
// where the last batch ended, so a batch costs only its own lines and
// memory stays bounded whatever the span. Lines that are not rows (the
// header, a line torn by a crash, an over-long one) are passed over; a
// missing or unreadable file is a month without rows.
class TJournalCursor {
  public:
    // Rows whose time lies in (after, until].
    TJournalCursor(std::filesystem::path folder, std::chrono::system_clock::time_point after,
                   std::chrono::system_clock::time_point until);

    // Appends up to maxRows rows to rows; false once the span is read to
    // its end (rows may have been appended by that call too).
    bool Next(std::size_t maxRows, std::vector<TJournalRow>& rows);

  private:
    // Opens the next file of the span that can be opened; false when none
    // is left.
    bool OpenNextFile();

    const std::filesystem::path folder_;
    const std::chrono::system_clock::time_point after_;
    const std::chrono::system_clock::time_point until_;
    const std::vector<std::string> names_;
    std::size_t nextName_ = 0;
    std::ifstream file_;
    bool ended_ = false;
};

}  // namespace ornet5
