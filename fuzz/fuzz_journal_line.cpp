// Feeds any bytes to the journal's line and time parsers: no crash, no
// read outside the line, and whatever they take reads back as they took it.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/local_time.h"
#include "journal/journal_row.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto time = ornet5::ParseLocalTimeText(bytes)) {
        // Only the sign of a zero offset has two spellings.
        const std::string text = ornet5::LocalTimeText(*time);
        Require(text == bytes || (bytes.ends_with("-00:00") && text.ends_with("+00:00") &&
                                  text.substr(0, 23) == bytes.substr(0, 23)));
    }
    if (const auto point = ornet5::ParseJournalLine(bytes)) {
        Require(!point->HasDose() || (std::isfinite(point->dose) && point->dose >= 0));
        Require(size <= ornet5::kMaxJournalLineLength + 1);
    }
    return 0;
}
