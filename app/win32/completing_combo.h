#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ornet5 {

// The editable drop-down combo boxes' rules, over a Win32 COMBOBOX with
// CBS_DROPDOWN.

// After the user changed the edit text (CBN_EDITCHANGE): text that begins
// an entry (letter case ignored) is completed to the first such entry,
// which becomes selected, the completed part highlighted so that typing
// goes on over it. Text that begins no entry stays as typed with no entry
// selected. Deleting never completes, or the user could not delete the
// completed part.
void CompleteTypedText(HWND comboBox);

int ComboItemIndex(HWND comboBox);
// Selects entry index; an index naming no entry leaves the box as it
// stands (its text stays), as the settings store expects.
void SetComboItemIndex(HWND comboBox, int index);

}  // namespace ornet5
