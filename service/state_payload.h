#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "journal/journal_row.h"

namespace ornet5 {

// A JSON string: quotes, backslashes and control characters escaped; the
// rest, UTF-8 included, as it is.
std::string JsonString(std::string_view text);

// A cycle's row as the MQTT state and history messages carry it, a JSON
// object: {"time":"2026-12-08T14:03:21.482+03:00","dose_uSv_h":0.123,
// "status":"ok","address":"4.2.31","alarm":false,"seq":1234}. The time, the
// dose and the status are written as the journal writes them; dose_uSv_h
// is null without a reading.
std::string StatePayload(const TJournalRow& row, std::uint64_t seq);

}  // namespace ornet5
