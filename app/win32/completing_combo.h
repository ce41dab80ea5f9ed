#pragma once

#include <span>

#include "app/window_layout.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ornet5 {

// The editable drop-down combo boxes over a Win32 COMBOBOX with CBS_DROPDOWN.

// Posted to a box's parent, with the box's id as wParam, after its text or
// selection was set by a message (WM_SETTEXT, CB_SETCURSEL,
// CB_SELECTSTRING), from this program or another; the user's own edits
// come as CBN_EDITCHANGE and CBN_SELCHANGE. When it arrives, the change
// that caused it is over.
inline constexpr UINT kComboValueSet = WM_APP + 3;

// A combo box child of parent with the entries, entry selected shown, its
// edit part the design's place; the list drops below it.
HWND CreateCompletingCombo(HWND parent, TLayoutRect place, int id,
                           std::span<const char* const> entries, int selected);

// After the user changed the edit text (CBN_EDITCHANGE): applies the
// program's completion rule (CompleteComboText) over the box's entries. A
// completed entry becomes selected with its completed part highlighted, so
// that typing goes on over it; otherwise the text stays as typed, the
// cursor where it was. The change counts as a removal while Backspace or
// Delete is down, or Ctrl+X, and when the edit part's context menu cuts or
// deletes.
void CompleteTypedText(HWND comboBox, std::span<const char* const> entries);

int ComboItemIndex(HWND comboBox);
// Selects entry index, which must exist; the edit text becomes the entry's.
void SetComboItemIndex(HWND comboBox, int index);

}  // namespace ornet5
