#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "journal/journal_row.h"

namespace ornet5 {

// The journal's rows of a span of time, as ReadJournalSpan gives them.
struct TJournalSpan {
    // Sorted by time (rows of two writers may interleave in a file).
    std::vector<TJournalPoint> points;
    // Lines of the files read that are not valid rows: torn by a crash,
    // foreign, over-long, a header line after the first. A line that starts
    // with a time outside the span is passed over unchecked.
    std::size_t skippedLines = 0;
    // Files that exist but could not be read. A missing file is no error:
    // nothing was polled that month.
    std::vector<std::filesystem::path> unreadableFiles;
};

// The monthly file names that can hold rows of times in [from, to]: a
// file is named for the local month of its rows, and a local clock is less
// than a day away from UTC. Empty when from is after to.
std::vector<std::string> JournalFileNames(std::chrono::system_clock::time_point from,
                                          std::chrono::system_clock::time_point to);

// Reads the rows whose time lies in [from, to] from the journal folder.
// The files are read in chunks, so memory grows with the rows kept, 24
// bytes each, not with the files (the points' capacity is reserved for all
// rows the files could hold; the unused part is address space only). Never
// throws for a file's content; only std::bad_alloc escapes. Blocks while
// it reads: about a quarter of a second of processor time for 30 days.
TJournalSpan ReadJournalSpan(const std::filesystem::path& folder,
                             std::chrono::system_clock::time_point from,
                             std::chrono::system_clock::time_point to);

}  // namespace ornet5
