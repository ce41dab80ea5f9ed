#include "service/ledger_file.h"

#include <charconv>
#include <chrono>
#include <vector>

#include "journal/journal_cursor.h"
#include "settings/atomic_file.h"

namespace ornet5 {

namespace {

using namespace std::chrono;

constexpr std::string_view kAssigned = "assigned ";
constexpr std::string_view kAcknowledged = "acknowledged ";
// Rows read at a time while counting.
constexpr std::size_t kCountBatch = 4096;
// Rows stamped ahead of the clock (a clock set back since) are counted too.
constexpr days kClockSlack{400};

// "<prefix>SEQ UTC_MS\n" at the start of text, which then drops it.
std::optional<TRowMark> ParseMarkLine(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) {
        return std::nullopt;
    }
    text.remove_prefix(prefix.size());
    TRowMark mark;
    const char* end = text.data() + text.size();
    const auto seq = std::from_chars(text.data(), end, mark.seq);
    if (seq.ec != std::errc{} || seq.ptr == end || *seq.ptr != ' ') {
        return std::nullopt;
    }
    const auto time = std::from_chars(seq.ptr + 1, end, mark.utcMs);
    if (time.ec != std::errc{} || time.ptr == end || *time.ptr != '\n') {
        return std::nullopt;
    }
    const char* next = time.ptr;
    text.remove_prefix(static_cast<std::size_t>(next + 1 - text.data()));
    return mark;
}

std::string MarkLine(std::string_view prefix, const TRowMark& mark) {
    return std::string(prefix) + std::to_string(mark.seq) + ' ' + std::to_string(mark.utcMs) + '\n';
}

// Counts the journal's rows after mark on from it.
TRowMark CountOn(const std::filesystem::path& journalFolder, TRowMark mark) {
    TJournalCursor cursor(journalFolder, UtcMsTime(mark.utcMs), system_clock::now() + kClockSlack);
    std::vector<TJournalRow> rows;
    for (bool more = true; more;) {
        rows.clear();
        more = cursor.Next(kCountBatch, rows);
        if (!rows.empty()) {
            mark.seq += rows.size();
            mark.utcMs = UtcMs(rows.back().time.utc);
        }
    }
    return mark;
}

}  // namespace

std::filesystem::path LedgerFile(const std::filesystem::path& journalFolder) {
    return journalFolder / "ornet5d-mqtt.seq";
}

std::string LedgerText(const TLedgerState& state) {
    return MarkLine(kAssigned, state.assigned) + MarkLine(kAcknowledged, state.acknowledged);
}

std::optional<TLedgerState> ParseLedgerText(std::string_view text) {
    const auto assigned = ParseMarkLine(text, kAssigned);
    const auto acknowledged = assigned ? ParseMarkLine(text, kAcknowledged) : std::nullopt;
    if (!acknowledged || !text.empty() || acknowledged->seq > assigned->seq) {
        return std::nullopt;
    }
    return TLedgerState{*assigned, *acknowledged};
}

bool WriteLedgerFile(const std::filesystem::path& journalFolder, const TLedgerState& state) {
    return ReplaceFileBytes(LedgerFile(journalFolder), LedgerText(state));
}

TRecoveredLedger RecoverLedger(const std::filesystem::path& journalFolder) {
    TRecoveredLedger recovered;
    const std::filesystem::path file = LedgerFile(journalFolder);
    const TFileBytes bytes = ReadFileBytes(file);
    std::optional<TLedgerState> stored;
    if (bytes.status == TFileReadStatus::Read) {
        stored = ParseLedgerText(bytes.bytes);
        if (!stored) {
            recovered.problem = file.string() + ": not a seq record; the rows are counted anew";
        }
    } else if (bytes.status == TFileReadStatus::Failed) {
        recovered.problem = file.string() + ": cannot be read; the rows are counted anew";
    }
    if (stored) {
        recovered.state = *stored;
        recovered.state.assigned = CountOn(journalFolder, stored->assigned);
    } else {
        // From the earliest time a journal row can carry.
        const TRowMark counted = CountOn(
            journalFolder,
            {0, duration_cast<milliseconds>(sys_days{year{1900} / January / 1}.time_since_epoch())
                    .count()});
        recovered.state = {counted, counted};
    }
    return recovered;
}

}  // namespace ornet5
