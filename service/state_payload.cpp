#include "service/state_payload.h"

#include <cstdio>

#include "common/decimal_text.h"

namespace ornet5 {

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

std::string StatePayload(const TJournalRow& row, std::uint64_t seq) {
    const std::optional<double> dose = WrittenDose(row);
    return "{\"time\":" + JsonString(LocalTimeText(row.time)) +
           ",\"dose_uSv_h\":" + (dose ? ShortestDecimalText(*dose) : "null") +
           ",\"status\":" + JsonString(CycleStatusName(row.status)) +
           ",\"address\":" + JsonString(row.detector) +
           ",\"alarm\":" + (row.alarm ? "true" : "false") + ",\"seq\":" + std::to_string(seq) + "}";
}

}  // namespace ornet5
