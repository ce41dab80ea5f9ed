#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "service/row_ledger.h"

namespace ornet5 {

// Where a detector's MQTT bookkeeping survives restarts: a small file in
// its journal folder, under a name that is never a month file's. Two
// lines, "assigned SEQ UTC_MS" and "acknowledged SEQ UTC_MS".
std::filesystem::path LedgerFile(const std::filesystem::path& journalFolder);

std::string LedgerText(const TLedgerState& state);
// Nothing unless the text is exactly LedgerText's shape, with the
// acknowledged row not after the assigned one.
std::optional<TLedgerState> ParseLedgerText(std::string_view text);

// Replaces the file (atomically); false when it could not be written.
bool WriteLedgerFile(const std::filesystem::path& journalFolder, const TLedgerState& state);

struct TRecoveredLedger {
    TLedgerState state;
    // Empty, or why the file could not be used; the state then comes from
    // the journal alone.
    std::string problem;
};

// The bookkeeping as it stands now: the file's, with the journal's rows
// after its assigned row counted on (the file is not written at every row,
// and a killed service writes nothing). Without a usable file every row of
// the journal is counted, and all of them count as acknowledged: rows that
// were never owed to a broker are not sent as history. Reads the whole
// journal then, once.
TRecoveredLedger RecoverLedger(const std::filesystem::path& journalFolder);

}  // namespace ornet5
