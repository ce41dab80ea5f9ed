#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>

#include "journal/journal_disk.h"
#include "journal/journal_row.h"

namespace ornet5 {

struct TJournalWriterOptions {
    // Each call returns only once its rows are on the disk, so a crash or
    // a power loss costs at most the row being written. Off only where a
    // lost row does not matter (benchmarks).
    bool durable = true;
    // Rows kept in memory while the journal cannot be written: three days
    // of 3 s cycles, under 10 MB. Beyond that the oldest are given up.
    std::size_t pendingLimit = 3 * 28800;
};

// Appends the poll cycles to the monthly journal files
// <folder>/ORNET5-YYYY-MM.csv (the month of each row's local time). Made
// for one call per cycle on the detector's own thread: a row costs an
// open, one append write and one sync, besides a look at the file's last
// byte under the writers' lock (about 0.1 ms of processor time in all).
// Each row goes to the file that the month's path names at that moment:
// one moved away keeps what it has, one deleted is made anew. Several
// writers (copies of the program) may append to the same files at once;
// each row lands whole, and a new month's file gets its header exactly
// once. A line cut short by a crash is ended before the next row, so the
// two never merge.
//
// When the journal cannot be written (no folder, no rights, a full disk),
// Append neither throws nor waits: the rows are kept in memory and written
// first, in order, by a later call that succeeds. The reason is reported
// once to the diagnostics stream, as one line starting "ORNET5: ", when it
// first appears or changes; a success forgets it.
class TJournalWriter {
  public:
    // diagnostics and disk must outlive the writer. Nothing is touched on
    // the disk until the first row.
    TJournalWriter(std::filesystem::path folder, std::ostream& diagnostics,
                   TJournalDisk& disk = SystemJournalDisk(), TJournalWriterOptions options = {});

    // Appends the row after any rows kept from failed calls. True when all
    // of them are now in the files (and on the disk, when durable). Blocks
    // only for the writes and the sync.
    bool Append(const TJournalRow& row) noexcept;

    // Rows kept in memory, not yet written.
    std::size_t PendingRows() const { return pending_.size(); }
    // Rows given up because more than pendingLimit were waiting.
    std::uint64_t DroppedRows() const { return dropped_; }

  private:
    struct TPendingRow {
        // Months since year 0 on the row's local clock: which file.
        int month = 0;
        std::string text;
    };

    // Gives up the oldest kept rows beyond the limit.
    void Trim();
    bool WritePending();
    bool OpenFile(int month);
    TDiskFailure WriteBatch(std::size_t& rowsWritten);
    bool EndFile();
    void Fail(const std::filesystem::path& place, const TDiskFailure& failure);

    const std::filesystem::path folder_;
    std::ostream& diagnostics_;
    TJournalDisk& disk_;
    const TJournalWriterOptions options_;
    std::deque<TPendingRow> pending_;
    std::uint64_t dropped_ = 0;
    std::unique_ptr<TAppendFile> file_;
    int fileMonth_ = 0;
    std::filesystem::path filePath_;
    // Reused for every write, so a row costs no allocation there.
    std::string batch_;
    // Empty place: nothing reported since the last success.
    std::filesystem::path reportedPlace_;
    TDiskFailure reportedFailure_;
    bool dropReported_ = false;
};

// The diagnostics line for a failure at the place, without its line end.
std::string JournalFailureText(const std::filesystem::path& place, const TDiskFailure& failure);

}  // namespace ornet5
