#pragma once

#include <span>
#include <string_view>

namespace ornet5 {

// What the key that changed a combo box's edit text did to it.
enum class TEditKind {
    Typed,    // text was typed or pasted
    Removed,  // Backspace, Delete, Cut, or a delete-word or delete-line key
};

// The combo box's state after an edit: which entry is selected, and
// whether the text is completed to that entry.
struct TComboCompletion {
    // The selected entry, or -1 for none.
    int index = -1;
    // True: the edit text becomes the entry's text, and its part after what
    // was typed is selected, so typing on replaces it. False: the text and
    // the cursor stay as the user left them.
    bool completed = false;

    bool operator==(const TComboCompletion&) const = default;
};

// The editable combo boxes' completion rule. Typed text completes to the
// first entry that begins with it, letter case ignored; an empty text
// begins no entry. After a removal nothing is completed, since that would
// put back what the user just deleted: the text then selects an entry only
// when it spells one out. Any text may stand, also a number that no entry
// offers; then no entry is selected.
TComboCompletion CompleteComboText(std::string_view text, TEditKind kind,
                                   std::span<const char* const> entries);

}  // namespace ornet5
