#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ornet5 {

// What MakeJournal writes: a detector read every cycle up to end, over the
// given number of days.
struct TJournalMakerOptions {
    std::chrono::system_clock::time_point end;
    std::chrono::days length{30};
    std::chrono::seconds cycle{3};
    std::string detector = "4.2.31";
    // The alarm column follows the program's alarm rule at this threshold
    // (µSv/h); without one it stays 0.
    std::optional<double> alarmThreshold;
    // Each day one row torn by a crash, every third day a line pasted in by
    // another program: what the reader must pass over.
    bool damaged = true;
    // Every reading this dose (µSv/h) instead of the lifelike ones, the
    // outage and the stopped hour kept: a journal whose accumulated dose is
    // known.
    std::optional<double> steadyDose;
};

struct TMadeJournal {
    std::size_t rows = 0;
    // Rows with a dose.
    std::size_t readings = 0;
    // Lines that are no rows (torn, foreign), each twelve hours into its
    // day counted from the first row, so that a span starting within the
    // first hours still holds them all.
    std::size_t damagedLines = 0;
    // The month files written to, oldest first.
    std::vector<std::filesystem::path> files;
};

// Writes a lifelike journal into folder (made if missing), as the program
// would have written it: a background dose near 0.11 µSv/h with a daily
// swing and the detector's noise, two half days of rain that wash radon
// down (up to about 0.2), one half-hour rise near 0.35, one six-hour
// outage of no replies, and one hour in which the program did not run (no
// rows); after either the detector is identified anew. The rows go into
// the month files of their local time, appended to what is there; a new
// file gets the header. Always the same rows for the same options. Throws
// std::runtime_error when a file cannot be written.
TMadeJournal MakeJournal(const std::filesystem::path& folder, const TJournalMakerOptions& options);

}  // namespace ornet5
