#include "app/combo_completion.h"

#include "settings/ascii_text.h"

namespace ornet5 {

namespace {

// The entries are ASCII, so an ASCII comparison ignores case exactly where
// a typed text can match.
bool BeginsWith(std::string_view entry, std::string_view text) {
    return entry.size() >= text.size() && SameTextAscii(entry.substr(0, text.size()), text);
}

int FindEntry(std::span<const char* const> entries, std::string_view text, bool whole) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view entry = entries[i];
        if (whole ? SameTextAscii(entry, text) : BeginsWith(entry, text)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

TComboCompletion CompleteComboText(std::string_view text, TEditKind kind,
                                   std::span<const char* const> entries) {
    if (text.empty()) {
        return {};
    }
    if (kind == TEditKind::Removed) {
        return {FindEntry(entries, text, true), false};
    }
    const int entry = FindEntry(entries, text, false);
    return {entry, entry >= 0};
}

}  // namespace ornet5
